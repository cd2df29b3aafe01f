#include "contracts/PY.h"

#include "app/Payments.h"
#include "rtl/Convert.h"
#include "widgets/DateEdit.h"
#include "widgets/LineEdit.h"
#include "widgets/Messages.h"
#include "widgets/SaveShortcut.h"
#include "widgets/UpperCombo.h"

#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TPY* PY = nullptr;

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TPY::TPY(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PY"));
    setWindowTitle(QStringLiteral("Оплата"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    EditAmount = named(new widgets::LineEdit(this), "EditAmount");
    BoxMethod = named(new widgets::UpperCombo(this), "BoxMethod");
    BoxMethod->setChoiceOnly(true);
    BoxMethod->setItems(app::paymentMethods());
    DatePay = named(new widgets::DateEdit(this), "DatePay");
    DatePay->setFixedWidth(92);
    EditNote = named(new widgets::LineEdit(this), "EditNote");
    EditNote->setMaxLength(200);
    BitBtnPayOk = named(new QPushButton(QStringLiteral("Записать"), this), "BitBtnPayOk");
    BitBtnPayCancel = named(new QPushButton(QStringLiteral("Отмена"), this), "BitBtnPayCancel");
    for (QPushButton* b : {BitBtnPayOk, BitBtnPayCancel}) {
        b->setMinimumSize(110, 30);
        b->setAutoDefault(false);
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Сумма"), EditAmount);
    form->addRow(QStringLiteral("Способ"), BoxMethod);
    form->addRow(QStringLiteral("Дата"), DatePay);
    form->addRow(QStringLiteral("Примечание"), EditNote);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnPayOk);
    buttons->addWidget(BitBtnPayCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedSize(420, 190);

    setTabOrder(EditAmount, BoxMethod);
    setTabOrder(BoxMethod, DatePay);
    setTabOrder(DatePay, EditNote);
    setTabOrder(EditNote, BitBtnPayOk);
    setTabOrder(BitBtnPayOk, BitBtnPayCancel);
    for (widgets::LineEdit* e : {EditAmount, static_cast<widgets::LineEdit*>(DatePay), EditNote})
        e->setEscapePropagates(true);
    BoxMethod->setEscapePropagates(true);

    connect(EditAmount, &widgets::LineEdit::enterPressed, this, [this] { BoxMethod->setFocus(); });
    connect(BoxMethod, &widgets::UpperCombo::enterPressed, this, [this] { DatePay->setFocus(); });
    connect(DatePay, &widgets::LineEdit::enterPressed, this, [this] { EditNote->setFocus(); });
    connect(EditNote, &widgets::LineEdit::enterPressed, this, [this] { BitBtnPayOk->setFocus(); });
    connect(BitBtnPayOk, &QPushButton::clicked, this, &TPY::BitBtnPayOkClick);
    connect(BitBtnPayCancel, &QPushButton::clicked, this, &QDialog::reject);
    widgets::addSaveShortcut(this, {BitBtnPayOk});
}

void TPY::prepare(int contract, const QString& proposed) {
    contract_ = contract;
    written_ = 0;
    EditAmount->setText(proposed);
    BoxMethod->setCurrentIndex(0);
    DatePay->setText(rtl::DateToStr(QDate::currentDate()));
    EditNote->clear();
    EditAmount->setFocus();
    EditAmount->selectAll();
}

void TPY::BitBtnPayOkClick() {
    // Every field is checked before anything is written.
    const app::NewPayment p =
        app::checkPayment(contract_, EditAmount->text(), BoxMethod->text(), DatePay->text(), EditNote->text());
    if (app::wouldOverpay(p) &&
        !widgets::askYesNo(QStringLiteral("Оплата больше суммы договора. Принять как переплату?")))
        return;
    written_ = app::addPayment(p);
    accept();
}
