#include "reports/SV.h"

#include "widgets/RadioGroup.h"
#include "reports/SummaryBuild.h"
#include "reports/SummaryPrint.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/UpperCombo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TSV* SV = nullptr;

namespace {

const QStringList kMonths = {
    QStringLiteral("ЯНВАРЬ"), QStringLiteral("ФЕВРАЛЬ"), QStringLiteral("МАРТ"),     QStringLiteral("АПРЕЛЬ"),
    QStringLiteral("МАЙ"),    QStringLiteral("ИЮНЬ"),    QStringLiteral("ИЮЛЬ"),     QStringLiteral("АВГУСТ"),
    QStringLiteral("СЕНТЯБРЬ"), QStringLiteral("ОКТЯБРЬ"), QStringLiteral("НОЯБРЬ"), QStringLiteral("ДЕКАБРЬ")};

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TSV::TSV(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SV"));
    setWindowTitle(QStringLiteral("Итоговый свод"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    RG1 = named(new widgets::RadioGroup(QStringLiteral("ПЕРИОД СВОДА"),
                                        {QStringLiteral("ДЕНЬ"), QStringLiteral("МЕСЯЦ"), QStringLiteral("ГОД"),
                                         QStringLiteral("ПРОИЗВОЛЬНЫЙ ПЕРИОД")},
                                        this),
                "RG1");
    MEdit1 = named(new widgets::DateEdit(RG1), "MEdit1");
    Box1 = named(new widgets::UpperCombo(RG1), "Box1");
    Box1->setChoiceOnly(true);
    Box1->setItems(kMonths);
    Edit1 = named(new widgets::LineEdit(RG1), "Edit1");
    Label1 = named(new QLabel(QStringLiteral("С"), RG1), "Label1");
    MEdit2 = named(new widgets::DateEdit(RG1), "MEdit2");
    Label2 = named(new QLabel(QStringLiteral("ПО"), RG1), "Label2");
    MEdit3 = named(new widgets::DateEdit(RG1), "MEdit3");
    for (widgets::DateEdit* e : {MEdit1, MEdit2, MEdit3}) e->setFixedWidth(92);
    Box1->setFixedWidth(130);
    Edit1->setFixedWidth(60);

    // Each field beside its item; the period's two dates side by side.
    QGridLayout* grid = RG1->grid();
    grid->addWidget(MEdit1, Day, 2, 1, 3, Qt::AlignLeft);
    grid->addWidget(Box1, Month, 2, 1, 3, Qt::AlignLeft);
    grid->addWidget(Edit1, Year, 2, 1, 3, Qt::AlignLeft);
    grid->addWidget(Label1, Period, 1, Qt::AlignRight);
    grid->addWidget(MEdit2, Period, 2);
    grid->addWidget(Label2, Period, 3, Qt::AlignRight);
    grid->addWidget(MEdit3, Period, 4);
    grid->setColumnStretch(5, 1);

    BitBtn1 = named(new QPushButton(QStringLiteral("ПОСТРОИТЬ"), this), "BitBtn1");
    BitBtn2 = named(new QPushButton(QStringLiteral("ОТМЕНА"), this), "BitBtn2");
    BitBtn3 = named(new QPushButton(QStringLiteral("ПЕЧАТЬ"), this), "BitBtn3");
    BitBtn3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    for (QPushButton* b : {BitBtn1, BitBtn3, BitBtn2}) {
        b->setMinimumSize(110, 30);
        b->setAutoDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(RG1);
    layout->addLayout(buttons);
    setFixedSize(470, 236);

    // Tab order as the fields stand; Enter follows the rules below.
    setTabOrder(MEdit1, Box1);
    setTabOrder(Box1, Edit1);
    setTabOrder(Edit1, MEdit2);
    setTabOrder(MEdit2, MEdit3);
    setTabOrder(MEdit3, BitBtn1);
    setTabOrder(BitBtn1, BitBtn3);
    setTabOrder(BitBtn3, BitBtn2);

    // Escape anywhere cancels, as the cancel button would.
    for (widgets::LineEdit* e : {static_cast<widgets::LineEdit*>(MEdit1), static_cast<widgets::LineEdit*>(MEdit2),
                                 static_cast<widgets::LineEdit*>(MEdit3), Edit1})
        e->setEscapePropagates(true);
    Box1->setEscapePropagates(true);

    connect(RG1, &widgets::RadioGroup::clicked, this, &TSV::RG1Click);
    connect(Box1, &widgets::UpperCombo::userChanged, this, &TSV::RG1Click);
    connect(MEdit2, &widgets::LineEdit::enterPressed, this, [this] { MEdit3->setFocus(); });
    connect(MEdit1, &widgets::LineEdit::enterPressed, this, [this] { BitBtn1->setFocus(); });
    connect(MEdit3, &widgets::LineEdit::enterPressed, this, [this] { BitBtn1->setFocus(); });
    connect(Edit1, &widgets::LineEdit::enterPressed, this, [this] { BitBtn1->setFocus(); });
    connect(Box1, &widgets::UpperCombo::enterPressed, this, [this] { BitBtn1->setFocus(); });
    connect(BitBtn1, &QPushButton::clicked, this, &TSV::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TSV::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TSV::BitBtn3Click);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void TSV::FormActivate() {
    const QDate today = QDate::currentDate();
    RG1->setItemIndex(Day);
    MEdit1->setText(rtl::DateToStr(today));
    Box1->setCurrentIndex(today.month() - 1);
    Edit1->setText(QString::number(today.year()));
    MEdit2->setText(rtl::DateToStr(today.addDays(-7)));
    MEdit3->setText(rtl::DateToStr(today));
    RG1Click();
}

void TSV::RG1Click() {
    const QString year = QString::number(QDate::currentDate().year());
    for (QWidget* w : std::initializer_list<QWidget*>{MEdit1, MEdit2, MEdit3, Edit1, Box1}) w->setEnabled(false);
    switch (RG1->itemIndex()) {
    case Day:
        MEdit1->setEnabled(true);
        MEdit1->setFocus();
        d1 = rtl::StrToDate(MEdit1->text());
        d2 = rtl::StrToDate(MEdit1->text());
        text = MEdit1->text();
        break;
    case Month: {
        Box1->setEnabled(true);
        Box1->setFocus();
        const QString month = QString::number(Box1->currentIndex() + 1);
        d1 = rtl::StrToDate(QStringLiteral("01.") + month + u'.' + year);
        const QString days = QString::number(d1.daysInMonth());
        d2 = rtl::StrToDate(days + u'.' + month + u'.' + year);
        text = Box1->text() + u' ' + year + QStringLiteral(" г.");
        break;
    }
    case Year:
        Edit1->setEnabled(true);
        Edit1->setFocus();
        d1 = rtl::StrToDate(QStringLiteral("01.01.") + Edit1->text());
        d2 = rtl::StrToDate(QStringLiteral("31.12.") + Edit1->text());
        text = Edit1->text() + QStringLiteral(" г.");
        break;
    case Period:
        MEdit2->setEnabled(true);
        MEdit3->setEnabled(true);
        MEdit2->setFocus();
        d1 = rtl::StrToDate(MEdit2->text());
        d2 = rtl::StrToDate(MEdit3->text());
        text = QStringLiteral("период с ") + MEdit2->text() + QStringLiteral(" по ") + MEdit3->text() +
               QStringLiteral(" г.");
        break;
    default:
        break;
    }
}

void TSV::BitBtn1Click() {
    // The build button closes the window whatever the build came to: a
    // field that holds no date stops it before any query.
    try {
        RG1Click();
        reports::BuildSummary({RG1->itemIndex() == Day, d1, d2, text});
    } catch (...) {
        accept();
        throw;
    }
    accept();
}

void TSV::BitBtn2Click() { reject(); }

// The same rows laid out by the program, in the print preview; the window
// stays for another period.
void TSV::BitBtn3Click() {
    RG1Click();
    reports::PrintSummary({RG1->itemIndex() == Day, d1, d2, text}, this);
}
