#include "reports/MW.h"

#include "app/DM.h"
#include "app/OwnerSchema.h"
#include "print/Document.h"
#include "print/Preview.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/StringGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <utility>
#include <QVBoxLayout>

TMW* MW = nullptr;

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QStringList kContractTitles = {QStringLiteral("ID"),       QStringLiteral("№"),
                                     QStringLiteral("ДАТА"),     QStringLiteral("АВТОМОБИЛЬ"),
                                     QStringLiteral("ВЛАДЕЛЕЦ"), QStringLiteral("РАБОТЫ"),
                                     QStringLiteral("ЗАПЧАСТИ")};

QStringList upper(const QStringList& l) {
    QStringList u;
    for (const QString& s : l) u << s.toUpper();
    return u;
}

}  // namespace

TMW::TMW(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MW"));
    setWindowTitle(QStringLiteral("Выработка механиков"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(760, 560);

    Label1 = named(new QLabel(QStringLiteral("С"), this), "Label1");
    DateFrom = named(new widgets::DateEdit(this), "DateFrom");
    Label2 = named(new QLabel(QStringLiteral("ПО"), this), "Label2");
    DateTo = named(new widgets::DateEdit(this), "DateTo");
    for (widgets::DateEdit* e : {DateFrom, DateTo}) e->setFixedWidth(92);
    BitBtn1 = named(new QPushButton(QStringLiteral("ПОКАЗАТЬ"), this), "BitBtn1");
    BitBtn2 = named(new QPushButton(QStringLiteral("ПЕЧАТЬ"), this), "BitBtn2");
    BitBtn3 = named(new QPushButton(QStringLiteral("ЗАКРЫТЬ"), this), "BitBtn3");
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) b->setAutoDefault(false);

    Grid_pay = named(new widgets::StringGrid(this), "Grid_pay");
    Grid_pay->setColCount(app::kMechanicPayTextColumns);
    const int payWidths[] = {280, 80, 100, 100, 80, 100};
    for (int c = 0; c < app::kMechanicPayTextColumns; ++c) Grid_pay->setColWidth(c, payWidths[c]);
    Grid_pay->setTitleColor(QColor(widgets::kTitleYellow));
    Grid_pay->setTitles(upper(app::mechanicPayHeader()));
    Label3 = named(new QLabel(QStringLiteral("Договоры механика (Enter — открыть)"), this), "Label3");
    Grid_ct = named(new widgets::StringGrid(this), "Grid_ct");
    // Esc closes the window from any of its controls.
    for (widgets::StringGrid* g : {Grid_pay, Grid_ct}) g->setEscapePropagates(true);
    for (widgets::DateEdit* e : {DateFrom, DateTo}) e->setEscapePropagates(true);
    Grid_ct->setColCount(kContractTitles.size());
    const int ctWidths[] = {2, 70, 80, 200, 180, 90, 90};
    for (int c = 0; c < kContractTitles.size(); ++c) Grid_ct->setColWidth(c, ctWidths[c]);
    Grid_ct->setTitleColor(QColor(widgets::kTitleYellow));
    Grid_ct->setTitles(kContractTitles);

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(DateFrom);
    top->addWidget(Label2);
    top->addWidget(DateTo);
    top->addWidget(BitBtn1);
    top->addStretch(1);
    top->addWidget(BitBtn2);
    top->addWidget(BitBtn3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Grid_pay, 3);
    layout->addWidget(Label3);
    layout->addWidget(Grid_ct, 2);

    connect(DateFrom, &widgets::LineEdit::enterPressed, this, [this] { DateTo->setFocus(); });
    connect(DateTo, &widgets::LineEdit::enterPressed, this, &TMW::BitBtn1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TMW::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TMW::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Grid_pay, &widgets::StringGrid::enterPressed, this, &TMW::Grid_payEnter);
    connect(Grid_pay, &widgets::StringGrid::rowDoubleClicked, this, &TMW::Grid_payEnter);
    connect(Grid_ct, &widgets::StringGrid::enterPressed, this, &TMW::Grid_ctEnter);
    connect(Grid_ct, &widgets::StringGrid::rowDoubleClicked, this, &TMW::Grid_ctEnter);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

// Each opening: the current month.
void TMW::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) opening_ = true;
}

void TMW::FormActivate() {
    if (!std::exchange(opening_, false)) return;
    ChosenKey.clear();
    ChosenNumber.clear();
    const QDate today = QDate::currentDate();
    DateFrom->setText(rtl::DateToStr(QDate(today.year(), today.month(), 1)));
    DateTo->setText(rtl::DateToStr(QDate(today.year(), today.month(), today.daysInMonth())));
    BitBtn1Click();
    Grid_pay->setFocus();
}

void TMW::BitBtn1Click() {
    const QDate from = rtl::StrToDate(DateFrom->text()), to = rtl::StrToDate(DateTo->text());
    app::MechanicPay pay = app::mechanicPay(DM->IBDbase, DM->IBTrans, from, to, app::hasMechanicRates());
    Pay = std::move(pay);
    From = from;
    To = to;
    Grid_pay->clearToBlankRow();
    Grid_pay->setTitles(upper(app::mechanicPayHeader()));
    if (!Pay.rows.empty()) {
        Grid_pay->beginFill(int(Pay.rows.size()) + 2);
        int r = 1;
        for (const app::MechanicPayRow& row : Pay.rows) {
            const QStringList t = app::mechanicPayTexts(row);
            for (int c = 0; c < t.size(); ++c) Grid_pay->setCell(c, r, t[c]);
            ++r;
        }
        const QStringList t = app::mechanicPayTexts(Pay.totals);
        for (int c = 0; c < t.size(); ++c) Grid_pay->setCell(c, r, t[c]);
        Grid_pay->endFill();
    }
    Contracts.clear();
    Grid_ct->clearToBlankRow();
    Grid_ct->setTitles(kContractTitles);
}

void TMW::Grid_payEnter() {
    const int row = Grid_pay->currentRow();
    if (row < 1 || row > int(Pay.rows.size())) return;  // the totals or an empty list
    Contracts = app::mechanicContracts(DM->IBDbase, DM->IBTrans, Pay.rows[size_t(row - 1)].name, From, To);
    Grid_ct->clearToBlankRow();
    Grid_ct->setTitles(kContractTitles);
    if (Contracts.empty()) return;
    Grid_ct->beginFill(int(Contracts.size()) + 1);
    for (int i = 0; i < int(Contracts.size()); ++i) {
        const app::MechanicContract& c = Contracts[size_t(i)];
        const QStringList t = {c.key,   c.number, rtl::DateToStr(c.date), c.car, c.owner, c.labour.toString(),
                               c.parts.toString()};
        for (int col = 0; col < t.size(); ++col) Grid_ct->setCell(col, i + 1, t[col]);
    }
    Grid_ct->endFill();
    Grid_ct->setCurrentRow(1);
    Grid_ct->setFocus();
}

void TMW::Grid_ctEnter() {
    const int row = Grid_ct->currentRow();
    if (Grid_ct->cell(0, row).isEmpty()) return;
    ChosenKey = Grid_ct->cell(0, row);
    ChosenNumber = Grid_ct->cell(1, row);
    accept();
}

void TMW::BitBtn2Click() { print::preview(PrintDocument(), this); }

print::Document TMW::PrintDocument() const {
    print::Document d;
    d.title = windowTitle();
    d.subtitle = QStringLiteral("период с %1 по %2").arg(rtl::DateToStr(From), rtl::DateToStr(To));
    print::Table t;
    const QStringList header = app::mechanicPayHeader();
    for (int c = 0; c < header.size(); ++c)
        t.columns.push_back({header[c], c == 0 ? Qt::AlignLeft : Qt::AlignRight, c == 0 ? 30 : 0});
    for (const app::MechanicPayRow& row : Pay.rows) t.rows.push_back(app::mechanicPayTexts(row));
    t.totals.push_back(app::mechanicPayTexts(Pay.totals));
    d.table(std::move(t));
    return d;
}
