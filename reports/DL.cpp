#include "reports/DL.h"

#include "app/DM.h"
#include "app/PaymentReports.h"
#include "print/ListDocument.h"
#include "print/Preview.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/StringGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDL* DL = nullptr;

namespace {

// Key (hidden), then what is printed.
const widgets::GridColumn kColumns[] = {{"", 0},           {"  ВЛАДЕЛЕЦ", 230}, {"  ТЕЛЕФОН", 130},
                                        {"  ДОГОВОР", 90}, {"  ДАТА", 95},      {"  К ОПЛАТЕ", 120}};

}  // namespace

TDL::TDL(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DL"));
    setWindowTitle(QStringLiteral("Должники"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    Grid_dl = new widgets::StringGrid(this);
    Grid_dl->setEscapePropagates(true);  // Esc closes the window
    Grid_dl->setObjectName(QStringLiteral("Grid_dl"));
    Grid_dl->setColumns(kColumns);
    Grid_dl->setDefaultRowHeight(20);
    Grid_dl->setRowCount(2);
    LabelTotal = new QLabel(this);
    LabelTotal->setObjectName(QStringLiteral("LabelTotal"));
    BitBtnPrint = new QPushButton(QStringLiteral("Печать"), this);
    BitBtnPrint->setObjectName(QStringLiteral("BitBtnPrint"));
    BitBtnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    BitBtnClose->setObjectName(QStringLiteral("BitBtnClose"));
    for (QPushButton* b : {BitBtnPrint, BitBtnClose}) {
        b->setMinimumSize(110, 30);
        b->setAutoDefault(false);
    }
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabelTotal, 1);
    bottom->addWidget(BitBtnPrint);
    bottom->addWidget(BitBtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grid_dl, 1);
    layout->addLayout(bottom);
    setFixedSize(720, 520);

    connect(Grid_dl, &widgets::StringGrid::enterPressed, this, &TDL::Grid_dlEnter);
    connect(Grid_dl, &widgets::StringGrid::rowDoubleClicked, this, &TDL::Grid_dlEnter);
    connect(Grid_dl, &widgets::StringGrid::escapePressed, this, &QDialog::reject);
    connect(BitBtnPrint, &QPushButton::clicked, this, &TDL::BitBtnPrintClick);
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::reject);
    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void TDL::FormActivate() {
    if (!isVisible()) return;
    chosen_.clear();
    const std::vector<app::Debtor> list = app::debtors(DM->IBDbase, DM->IBTrans);
    int rows = 0;
    for (const app::Debtor& d : list) rows += 1 + int(d.contracts.size());
    Grid_dl->beginFill(rows > 0 ? rows + 1 : 2);
    Grid_dl->setTitles(widgets::columnTitles(kColumns));
    int r = 1;
    const QString pad = QStringLiteral("  ");
    for (const app::Debtor& d : list) {
        // The customer's row carries the oldest contract's key.
        Grid_dl->setCell(0, r, QString::number(d.contracts.front().id));
        Grid_dl->setCell(1, r, pad + d.owner);
        Grid_dl->setCell(2, r, pad + d.phone);
        Grid_dl->setCell(3, r, pad + QString::number(d.contracts.size()));
        Grid_dl->setCell(4, r, pad + rtl::DateToStr(d.oldest));
        Grid_dl->setCell(5, r, pad + app::moneyText(d.due));
        ++r;
        for (const app::DebtContract& c : d.contracts) {
            Grid_dl->setCell(0, r, QString::number(c.id));
            Grid_dl->setCell(3, r, pad + QStringLiteral("№") + c.num);
            Grid_dl->setCell(4, r, pad + rtl::DateToStr(c.date));
            Grid_dl->setCell(5, r, pad + app::moneyText(c.due));
            ++r;
        }
    }
    Grid_dl->endFill();
    total_ = app::moneyText(app::debtTotal(list));
    LabelTotal->setText(QStringLiteral("Всего к оплате: %1 (клиентов: %2)").arg(total_).arg(list.size()));
    Grid_dl->setFocus();
}

void TDL::Grid_dlEnter() {
    const QString key = Grid_dl->cell(0, Grid_dl->currentRow());
    if (key.isEmpty()) return;
    chosen_ = key;
    accept();
}

void TDL::BitBtnPrintClick() {
    std::vector<QStringList> rows;
    for (int r = 1; r < Grid_dl->rowCount(); ++r) {
        if (Grid_dl->cell(0, r).isEmpty()) continue;
        QStringList row;
        for (int c = 1; c < 6; ++c) row << Grid_dl->cell(c, r).trimmed();
        rows.push_back(row);
    }
    print::preview(print::listDocument(QStringLiteral("Должники"), rtl::DateToStr(QDate::currentDate()),
                                       {{QStringLiteral("Владелец")},
                                        {QStringLiteral("Телефон")},
                                        {QStringLiteral("Договор")},
                                        {QStringLiteral("Дата")},
                                        {QStringLiteral("К оплате"), Qt::AlignRight, 16}},
                                       rows, {{QStringLiteral("Итого"), QString(), QString(), QString(), total_}}),
                   this);
}
