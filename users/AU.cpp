#include "users/AU.h"

#include "app/DM.h"
#include "app/LoginJournal.h"
#include "rtl/Convert.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

TAU* AU = nullptr;

namespace {
template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
const QStringList kTitles = {QStringLiteral("Время"),   QStringLiteral("Пользователь"), QStringLiteral("Таблица"),
                             QStringLiteral("Запись"),  QStringLiteral("Договор"),      QStringLiteral("Действие"),
                             QStringLiteral("Было"),    QStringLiteral("Стало")};
const int kWidths[] = {130, 100, 90, 60, 60, 70, 260, 260};
const int kContractCol = 4;  // the contract's key
}  // namespace

TAU::TAU(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AU"));
    setWindowTitle(QStringLiteral("Журнал изменений"));
    MEdit1 = named(new widgets::DateEdit(this), "MEdit1");
    MEdit2 = named(new widgets::DateEdit(this), "MEdit2");
    MEdit1->setEscapePropagates(true);
    MEdit2->setEscapePropagates(true);
    EditUser = named(new QLineEdit(this), "EditUser");
    EditNum = named(new QLineEdit(this), "EditNum");
    BitBtnShow = named(new QPushButton(QStringLiteral("ПОКАЗАТЬ"), this), "BitBtnShow");
    BitBtnShow->setAutoDefault(true);
    Grid = named(new widgets::StringGrid(this), "Grid");
    Grid->setEscapePropagates(true);  // Esc closes the window
    Grid->setColCount(kTitles.size());
    Grid->setTitles(kTitles);
    for (int i = 0; i < kTitles.size(); ++i) Grid->setColWidth(i, kWidths[i]);
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("С"), this));
    filters->addWidget(MEdit1);
    filters->addWidget(new QLabel(QStringLiteral("ПО"), this));
    filters->addWidget(MEdit2);
    filters->addWidget(new QLabel(QStringLiteral("Пользователь"), this));
    filters->addWidget(EditUser);
    filters->addWidget(new QLabel(QStringLiteral("Договор №"), this));
    filters->addWidget(EditNum);
    filters->addWidget(BitBtnShow);
    filters->addStretch(1);
    auto* l = new QVBoxLayout(this);
    l->addLayout(filters);
    l->addWidget(Grid, 1);
    resize(1100, 560);
    connect(BitBtnShow, &QPushButton::clicked, this, &TAU::BitBtnShowClick);
    connect(Grid, &widgets::StringGrid::enterPressed, this, &TAU::GridEnter);
    connect(Grid, &widgets::StringGrid::rowDoubleClicked, this, &TAU::GridEnter);
}

void TAU::FormActivate() {
    ChosenKey.clear();
    ChosenNumber.clear();
    if (MEdit1->isEmpty()) MEdit1->setText(QDate::currentDate().addDays(-7).toString(QStringLiteral("dd.MM.yyyy")));
    if (MEdit2->isEmpty()) MEdit2->setText(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    BitBtnShowClick();
}

void TAU::BitBtnShowClick() {
    app::ChangeFilter f;
    f.from = rtl::StrToDate(MEdit1->text());
    f.to = rtl::StrToDate(MEdit2->text());
    f.user = EditUser->text();
    if (!EditNum->text().trimmed().isEmpty()) f.contractNum = rtl::StrToInt(EditNum->text().trimmed());
    const std::vector<QStringList> rows = app::changeLog(DM->IBDbase, f);
    Grid->setRowCount(int(rows.size()) + 1);
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < rows[r].size(); ++c) Grid->setCell(c, r + 1, rows[r][c]);
    if (rows.empty())
        for (int c = 0; c < kTitles.size(); ++c) Grid->setCell(c, 1, QString());
}

void TAU::GridEnter() {
    const QString key = Grid->cell(kContractCol, Grid->currentRow());
    if (Grid->currentRow() < 1 || key.isEmpty()) return;
    const QString number = app::contractNumber(DM->IBDbase, rtl::StrToInt(key));
    if (number.isEmpty()) {
        widgets::showMessage(QStringLiteral("Договор удалён: его записи остались только в журнале."));
        return;
    }
    ChosenKey = key;
    ChosenNumber = number;
    accept();
}
