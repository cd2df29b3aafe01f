#include "cars/HS.h"

#include "app/DM.h"
#include "app/Mileage.h"
#include "app/SchemaUpgrade.h"
#include "app/WindowFlow.h"
#include "app/ContractLines.h"
#include "rtl/Convert.h"
#include "rtl/Money.h"
#include "widgets/Activation.h"
#include "widgets/StringGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

THS* HS = nullptr;

namespace {

const widgets::GridColumn kColumns[] = {{"  ID", 2},         {"  НОМЕР", 80},   {"  ДАТА", 100},
                                        {"  МЕХАНИК", 190},   {"  РАБОТЫ", 120}, {"  ЗАПЧАСТИ", 120},
                                        {"  СУММА", 130},     {"  ПРОБЕГ", 100}};

// "ВАЗ 2107", "А123ВС 77": the parts that are there, one blank between.
QString joined(const QString& a, const QString& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return a + u' ' + b;
}

}  // namespace

THS::THS(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HS"));
    setWindowTitle(QStringLiteral("История обслуживания"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(900, 660);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    layout->addWidget(buildCarHeader());
    layout->addWidget(buildHistoryGrid(), 3);
    LabelYear = new QLabel(this);
    LabelYear->setObjectName(QStringLiteral("LabelYear"));
    layout->addWidget(LabelYear);
    buildLineGrids(layout);

    LabelTotal = new QLabel(this);
    LabelTotal->setObjectName(QStringLiteral("LabelTotal"));
    QFont f = LabelTotal->font();
    f.setBold(true);
    LabelTotal->setFont(f);
    BitBtnPrint = new QPushButton(QStringLiteral("Печать"), this);
    BitBtnPrint->setObjectName(QStringLiteral("BitBtnPrint"));
    BitBtnPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    BitBtnPrint->setAutoDefault(false);
    BitBtnPrint->setToolTip(QStringLiteral("История машины в предварительном просмотре печати (Ctrl+P)"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabelTotal, 1);
    bottom->addWidget(BitBtnPrint);
    layout->addLayout(bottom);

    setTabOrder(Grid_hist, Grid_hwork);
    setTabOrder(Grid_hwork, Grid_hsp);

    // Handlers.
    connect(Grid_hist, &widgets::StringGrid::currentRowChanged, this, &THS::Grid_histClick);
    connect(Grid_hist, &widgets::StringGrid::enterPressed, this, &THS::Grid_histKeyPress);
    connect(Grid_hist, &widgets::StringGrid::rowDoubleClicked, this, &THS::Grid_histKeyPress);
    connect(BitBtnPrint, &QPushButton::clicked, this, &THS::BitBtnPrintClick);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

// The car's make and model, plate, VIN, owner and phone above the list.
QGroupBox* THS::buildCarHeader() {
    auto* car = new QGroupBox(QStringLiteral("Машина"), this);
    car->setObjectName(QStringLiteral("GP1"));
    auto* form = new QGridLayout(car);
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(2);
    auto value = [car](const char* name) {
        auto* l = new QLabel(car);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    auto caption = [car](const char* text) { return new QLabel(QString::fromUtf8(text), car); };
    Label1 = value("Label1");
    Label2 = value("Label2");
    Label3 = value("Label3");
    Label4 = value("Label4");
    Label5 = value("Label5");
    form->addWidget(caption("МАРКА, МОДЕЛЬ"), 0, 0);
    form->addWidget(Label1, 0, 1);
    form->addWidget(caption("ГОС. НОМЕР"), 1, 0);
    form->addWidget(Label2, 1, 1);
    form->addWidget(caption("VIN"), 2, 0);
    form->addWidget(Label3, 2, 1);
    form->addWidget(caption("ВЛАДЕЛЕЦ"), 0, 2);
    form->addWidget(Label4, 0, 3);
    form->addWidget(caption("ТЕЛЕФОН"), 1, 2);
    form->addWidget(Label5, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    return car;
}

// The contracts of the car, newest first.
widgets::StringGrid* THS::buildHistoryGrid() {
    Grid_hist = new widgets::StringGrid(this);
    Grid_hist->setObjectName(QStringLiteral("Grid_hist"));
    Grid_hist->setColumns(kColumns);
    Grid_hist->setTitleColor(QColor(widgets::kTitleYellow));
    Grid_hist->clearToBlankRow();
    Grid_hist->setEscapePropagates(true);  // Esc closes the window
    return Grid_hist;
}

// The work and spare-part lines of the chosen contract.
void THS::buildLineGrids(QVBoxLayout* layout) {
    auto lines = [this, layout](const QString& title, const char* name, widgets::StringGrid*& grid,
                                const char* gridName) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(name));
        auto* l = new QVBoxLayout(box);
        l->setContentsMargins(4, 2, 4, 4);
        grid = new widgets::StringGrid(box);
        grid->setObjectName(QString::fromLatin1(gridName));
        grid->setEscapePropagates(true);
        l->addWidget(grid);
        layout->addWidget(box, 2);
    };
    lines(QStringLiteral("Выполненные работы"), "GP3", Grid_hwork, "Grid_hwork");
    lines(QStringLiteral("Использованные запчасти"), "GP4", Grid_hsp, "Grid_hsp");
    contracts::setupLineGrid(Grid_hwork, contracts::kWorkLines);
    contracts::setupLineGrid(Grid_hsp, contracts::kSpareLines);
    contracts::clearLines(Grid_hwork, contracts::kWorkLines);
    contracts::clearLines(Grid_hsp, contracts::kSpareLines);
}

QString THS::currentKey() const { return Grid_hist->cell(0, Grid_hist->currentRow()); }

void THS::ShowCar(const QString& key, QWidget* owner) {
    CarKey = key;
    // Modal over whichever window asked; a parent keeps it above that window.
    if (owner && parentWidget() != owner) setParent(owner, windowFlags());
    app::openModal(this, owner);
}

void THS::FormActivate() {
    ShowCarHeader();
    FillHistory();
    Grid_hist->setCurrentRow(1);
    Grid_histClick();
    Grid_hist->setFocus();
}

void THS::ShowCarHeader() {
    for (QLabel* l : {Label1, Label2, Label3, Label4, Label5}) l->clear();
    if (CarKey.isEmpty()) return;
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM Cars WHERE pk_id = :pk_id"));
    q.setInteger(QStringLiteral("pk_id"), rtl::StrToInt(CarKey));
    q.open();
    if (!q.eof()) {
        auto text = [&q](const char* column) { return q.field(QString::fromLatin1(column)).asString(); };
        Label1->setText(joined(text("dev"), text("mod")));
        Label2->setText(joined(text("gnum"), text("region")));
        Label3->setText(text("vin"));
        Label4->setText(text("owner"));
        Label5->setText(text("phone"));
    }
    q.close();
}

// The contracts of the car's key, newest first. The totals are summed here in
// fixed point from the lines, as the editor sums them: one read of all the
// car's lines instead of one per contract. "+ 0" keeps the engine on the
// car's contracts first (by their index), then on their lines; left to
// itself it reads every line of every contract (a second at 500,000 lines).
void THS::FillHistory() {
    const qint64 car = CarKey.isEmpty() ? -1 : rtl::StrToInt(CarKey);
    auto fetch = [car](const char* sql) {
        fb::Query& q = DM->iSQL;
        TDM::reset(q, QString::fromLatin1(sql));
        q.setInteger(QStringLiteral("cr_fk"), car);
        q.open();
        return q.takeRows();
    };
    QHash<int, rtl::Money> works, spares;
    const fb::RowSet w = fetch("SELECT w.ct_fk, w.price FROM CT_Works w INNER JOIN Contracts ct "
                               "ON w.ct_fk = ct.pk_id + 0 WHERE ct.cr_fk = :cr_fk");
    for (int i = 0; i < w.rowCount(); ++i) works[int(w.integer(i, 0))] += rtl::Money::fromDouble(w.number(i, 1));
    const fb::RowSet s = fetch("SELECT s.ct_fk, s.price, s.num FROM CT_Spares s INNER JOIN Contracts ct "
                               "ON s.ct_fk = ct.pk_id + 0 WHERE ct.cr_fk = :cr_fk");
    for (int i = 0; i < s.rowCount(); ++i)
        spares[int(s.integer(i, 0))] += rtl::Money::times(s.number(i, 1), s.integer(i, 2));
    // A database without the visit's mileage lists the visits as before.
    const bool withKm = app::hasSchema(1);
    const fb::RowSet r = fetch(withKm ? "SELECT pk_id, num, c_date, meh, km FROM Contracts WHERE cr_fk = :cr_fk "
                                        "ORDER BY c_date DESC, num DESC, pk_id DESC"
                                      : "SELECT pk_id, num, c_date, meh FROM Contracts WHERE cr_fk = :cr_fk "
                                        "ORDER BY c_date DESC, num DESC, pk_id DESC");
    QList<app::Visit> visits;

    const int n = r.rowCount();
    const QSignalBlocker quiet(Grid_hist);  // the lines follow once the list stands
    Grid_hist->beginFill(n > 0 ? n + 1 : 2);
    Grid_hist->setTitles(widgets::columnTitles(kColumns));
    const QString pad = QStringLiteral("  ");
    rtl::Money all;
    for (int i = 0; i < n; ++i) {
        const int key = int(r.integer(i, 0));
        const rtl::Money wt = works.value(key), st = spares.value(key), sum = wt + st;
        all += sum;
        Grid_hist->setCell(0, i + 1, QString::number(key));
        Grid_hist->setCell(1, i + 1, pad + r.text(i, 1));
        Grid_hist->setCell(2, i + 1, pad + (r.isNull(i, 2) ? QString() : rtl::DateToStr(r.date(i, 2))));
        Grid_hist->setCell(3, i + 1, pad + r.text(i, 3));
        Grid_hist->setCell(4, i + 1, pad + wt.toString());
        Grid_hist->setCell(5, i + 1, pad + st.toString());
        Grid_hist->setCell(6, i + 1, pad + sum.toString());
        if (withKm && !r.isNull(i, 4)) {
            Grid_hist->setCell(7, i + 1, pad + r.text(i, 4));
            visits.append({r.date(i, 2), int(r.integer(i, 4))});
        }
    }
    Grid_hist->endFill();
    const std::optional<int> perYear = app::yearlyDistance(visits);
    LabelYear->setVisible(withKm);
    LabelYear->setText(QStringLiteral("СРЕДНИЙ ПРОБЕГ ЗА ГОД: ") +
                       (perYear ? QString::number(*perYear) + QStringLiteral(" КМ") : QStringLiteral("—")));
    LabelTotal->setText(QStringLiteral("ВИЗИТОВ: %1      НА СУММУ: %2").arg(n).arg(all.toString()));
}

void THS::Grid_histClick() {
    const QString key = currentKey();
    if (key.isEmpty()) {
        contracts::clearLines(Grid_hwork, contracts::kWorkLines);
        contracts::clearLines(Grid_hsp, contracts::kSpareLines);
        return;
    }
    contracts::loadLines(Grid_hwork, contracts::kWorkLines, key);
    contracts::loadLines(Grid_hsp, contracts::kSpareLines, key);
}

void THS::Grid_histKeyPress() {
    const QString key = currentKey();
    if (!key.isEmpty()) emit cardRequested(key);
}
