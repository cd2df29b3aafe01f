#include "reports/KS.h"

#include "app/DM.h"
#include "app/PaymentReports.h"
#include "app/Payments.h"
#include "print/ListDocument.h"
#include "print/Preview.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/StringGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TKS* KS = nullptr;

namespace {

const widgets::GridColumn kColumns[] = {{"  СПОСОБ", 110}, {"  ДАТА", 90},     {"  ДОГОВОР", 80},
                                        {"  ВЛАДЕЛЕЦ", 190}, {"  СУММА", 110}, {"  ПРИМЕЧАНИЕ", 160}};

QDate dateOf(const widgets::DateEdit* e, const char* what) {
    try {
        return rtl::StrToDate(e->text().trimmed());
    } catch (const rtl::ConvertError&) {
        throw rtl::ConvertError(QStringLiteral("%1 «%2» — не дата.").arg(QString::fromUtf8(what), e->text().trimmed()));
    }
}

}  // namespace

TKS::TKS(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("KS"));
    setWindowTitle(QStringLiteral("Касса"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    DateFrom = new widgets::DateEdit(this);
    DateFrom->setObjectName(QStringLiteral("DateFrom"));
    DateTo = new widgets::DateEdit(this);
    DateTo->setObjectName(QStringLiteral("DateTo"));
    for (widgets::DateEdit* e : {DateFrom, DateTo}) {
        e->setFixedWidth(92);
        e->setEscapePropagates(true);
    }
    BitBtnShow = new QPushButton(QStringLiteral("Показать"), this);
    BitBtnShow->setObjectName(QStringLiteral("BitBtnShow"));
    BitBtnPrint = new QPushButton(QStringLiteral("Печать"), this);
    BitBtnPrint->setObjectName(QStringLiteral("BitBtnPrint"));
    BitBtnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    BitBtnClose->setObjectName(QStringLiteral("BitBtnClose"));
    for (QPushButton* b : {BitBtnShow, BitBtnPrint, BitBtnClose}) {
        b->setMinimumSize(100, 28);
        b->setAutoDefault(false);
    }
    Grid_ks = new widgets::StringGrid(this);
    Grid_ks->setObjectName(QStringLiteral("Grid_ks"));
    Grid_ks->setEscapePropagates(true);  // Esc closes the window
    Grid_ks->setColumns(kColumns);
    Grid_ks->setDefaultRowHeight(20);
    Grid_ks->setRowCount(2);
    LabelTotal = new QLabel(this);
    LabelTotal->setObjectName(QStringLiteral("LabelTotal"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("С"), this));
    top->addWidget(DateFrom);
    top->addWidget(new QLabel(QStringLiteral("ПО"), this));
    top->addWidget(DateTo);
    top->addWidget(BitBtnShow);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabelTotal, 1);
    bottom->addWidget(BitBtnPrint);
    bottom->addWidget(BitBtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Grid_ks, 1);
    layout->addLayout(bottom);
    setFixedSize(780, 520);

    connect(DateFrom, &widgets::LineEdit::enterPressed, this, [this] { DateTo->setFocus(); });
    connect(DateTo, &widgets::LineEdit::enterPressed, this, &TKS::BitBtnShowClick);
    connect(BitBtnShow, &QPushButton::clicked, this, &TKS::BitBtnShowClick);
    connect(BitBtnPrint, &QPushButton::clicked, this, &TKS::BitBtnPrintClick);
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(Grid_ks, &widgets::StringGrid::escapePressed, this, &QDialog::reject);
    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void TKS::FormActivate() {
    const QString today = rtl::DateToStr(QDate::currentDate());
    DateFrom->setText(today);
    DateTo->setText(today);
    BitBtnShowClick();
    DateFrom->setFocus();
}

void TKS::BitBtnShowClick() {
    const QDate from = dateOf(DateFrom, "Дата «С»");
    const QDate to = dateOf(DateTo, "Дата «ПО»");
    const app::Cash cash = app::cash(DM->IBDbase, DM->IBTrans, from, to);
    // Grouped by method in the list's order, each with its total.
    QStringList methods = app::paymentMethods();
    for (const auto& [method, sum] : cash.byMethod)
        if (!methods.contains(method)) methods << method;
    std::vector<QStringList> rows;
    totals_.clear();
    for (const QString& method : methods) {
        const auto it = cash.byMethod.find(method);
        if (it == cash.byMethod.end()) continue;
        for (const app::CashRow& r : cash.rows)
            if (r.method == method)
                rows.push_back({r.method, rtl::DateToStr(r.date), r.num, r.owner, app::moneyText(r.amount), r.note});
        rows.push_back({QStringLiteral("ИТОГО ") + method, QString(), QString(), QString(), app::moneyText(it->second),
                        QString()});
        totals_.push_back({QStringLiteral("Итого ") + method.toLower(), QString(), QString(), QString(),
                           app::moneyText(it->second)});
    }
    rows.push_back({QStringLiteral("ВСЕГО"), QString(), QString(), QString(), app::moneyText(cash.total), QString()});
    totals_.push_back({QStringLiteral("Всего"), QString(), QString(), QString(), app::moneyText(cash.total)});
    Grid_ks->beginFill(int(rows.size()) + 1);
    Grid_ks->setTitles(widgets::columnTitles(kColumns));
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) Grid_ks->setCell(c, int(r) + 1, QStringLiteral("  ") + rows[r][c]);
    Grid_ks->endFill();
    printed_.clear();
    for (const app::CashRow& r : cash.rows)
        printed_.push_back({rtl::DateToStr(r.date), r.method, r.num, r.owner, app::moneyText(r.amount)});
    period_ = from == to ? rtl::DateToStr(from) : rtl::DateToStr(from) + QStringLiteral(" — ") + rtl::DateToStr(to);
    LabelTotal->setText(QStringLiteral("Всего за %1: %2").arg(period_, app::moneyText(cash.total)));
}

void TKS::BitBtnPrintClick() {
    print::preview(print::listDocument(QStringLiteral("Касса"), period_,
                                       {{QStringLiteral("Дата")},
                                        {QStringLiteral("Способ")},
                                        {QStringLiteral("Договор")},
                                        {QStringLiteral("Владелец")},
                                        {QStringLiteral("Сумма"), Qt::AlignRight, 16}},
                                       printed_, totals_),
                   this);
}
