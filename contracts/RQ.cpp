#include "contracts/RQ.h"

#include "app/ShopDetails.h"
#include "rtl/Convert.h"
#include "widgets/Messages.h"
#include "widgets/SaveShortcut.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TRQ* RQ = nullptr;

namespace {

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, int lines) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setTabChangesFocus(true);
    m->setFixedHeight(m->fontMetrics().lineSpacing() * lines + 12);
    return m;
}

}  // namespace

TRQ::TRQ(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RQ"));
    setWindowTitle(QStringLiteral("Реквизиты автосервиса"));
    setModal(true);
    resize(640, 620);

    EditShopName = lineEdit(this, "EditShopName", 150);
    EditShopForm = lineEdit(this, "EditShopForm", 60);
    EditInn = lineEdit(this, "EditInn", 12);
    EditOgrn = lineEdit(this, "EditOgrn", 15);
    EditShopAddress = lineEdit(this, "EditShopAddress", 250);
    EditShopPhone = lineEdit(this, "EditShopPhone", 60);
    EditShopEmail = lineEdit(this, "EditShopEmail", 100);
    MemoBank = memo(this, "MemoBank", 2);
    EditTakerPosition = lineEdit(this, "EditTakerPosition", 100);
    EditTakerName = lineEdit(this, "EditTakerName", 100);
    MemoWarranty = memo(this, "MemoWarranty", 4);
    MemoTerms = memo(this, "MemoTerms", 3);
    BitBtnRqSave = new QPushButton(QStringLiteral("Сохранить"), this);
    BitBtnRqSave->setObjectName(QStringLiteral("BitBtnRqSave"));
    BitBtnRqSave->setAutoDefault(false);
    BitBtnRqClose = new QPushButton(QStringLiteral("Закрыть"), this);
    BitBtnRqClose->setObjectName(QStringLiteral("BitBtnRqClose"));
    BitBtnRqClose->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Наименование:"), EditShopName);
    form->addRow(QStringLiteral("Организационно-правовая форма:"), EditShopForm);
    form->addRow(QStringLiteral("ИНН:"), EditInn);
    form->addRow(QStringLiteral("ОГРН / ОГРНИП:"), EditOgrn);
    form->addRow(QStringLiteral("Адрес:"), EditShopAddress);
    form->addRow(QStringLiteral("Телефон:"), EditShopPhone);
    form->addRow(QStringLiteral("Электронная почта:"), EditShopEmail);
    form->addRow(QStringLiteral("Банковские реквизиты:"), MemoBank);
    form->addRow(QStringLiteral("Должность принимающего заказы:"), EditTakerPosition);
    form->addRow(QStringLiteral("Принимающий заказы (Ф. И. О.):"), EditTakerName);
    form->addRow(QStringLiteral("Гарантийные обязательства:"), MemoWarranty);
    form->addRow(QStringLiteral("Порядок оплаты:"), MemoTerms);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnRqSave);
    buttons->addWidget(BitBtnRqClose);
    auto* l = new QVBoxLayout(this);
    l->addLayout(form);
    l->addStretch(1);
    l->addLayout(buttons);

    connect(BitBtnRqSave, &QPushButton::clicked, this, &TRQ::BitBtnRqSaveClick);
    connect(BitBtnRqClose, &QPushButton::clicked, this, &QDialog::reject);
    widgets::addSaveShortcut(this, {BitBtnRqSave});
}

void TRQ::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    EditShopName->setFocus();
}

void TRQ::LoadDetails() {
    const app::ShopDetails d = app::shopDetails();
    EditShopName->setText(d.name);
    EditShopForm->setText(d.form);
    EditInn->setText(d.inn);
    EditOgrn->setText(d.ogrn);
    EditShopAddress->setText(d.address);
    EditShopPhone->setText(d.phone);
    EditShopEmail->setText(d.email);
    MemoBank->setPlainText(d.bank);
    EditTakerPosition->setText(d.takerPosition);
    EditTakerName->setText(d.takerName);
    MemoWarranty->setPlainText(d.warranty);
    MemoTerms->setPlainText(d.terms);
}

app::ShopDetails TRQ::shownDetails() const {
    app::ShopDetails d;
    d.name = EditShopName->text();
    d.form = EditShopForm->text();
    d.inn = EditInn->text();
    d.ogrn = EditOgrn->text();
    d.address = EditShopAddress->text();
    d.phone = EditShopPhone->text();
    d.email = EditShopEmail->text();
    d.bank = MemoBank->toPlainText();
    d.takerPosition = EditTakerPosition->text();
    d.takerName = EditTakerName->text();
    d.warranty = MemoWarranty->toPlainText();
    d.terms = MemoTerms->toPlainText();
    return d;
}

void TRQ::BitBtnRqSaveClick() {
    const app::ShopDetails d = shownDetails();
    const QString why = app::shopDetailsError(d);
    if (!why.isEmpty()) {
        if (why.startsWith(QStringLiteral("ИНН"))) EditInn->setFocus();
        else if (why.startsWith(QStringLiteral("ОГРН"))) EditOgrn->setFocus();
        throw rtl::ConvertError(why);
    }
    app::storeShopDetails(d);
    widgets::showMessage(QStringLiteral("Реквизиты автосервиса сохранены"));
}
