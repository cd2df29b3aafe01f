#include "contracts/MF.h"

#include "about/AboutBox.h"
#include "about/Hst.h"
#include "app/Addresses.h"
#include "app/Columns.h"
#include "app/Connect.h"
#include "app/LoginRights.h"
#include "app/Dictionaries.h"
#include "app/DM.h"
#include "app/FetchedRows.h"
#include "app/Lookup.h"
#include "app/StatusLine.h"
#include "app/WindowFlow.h"
#include "cars/DC.h"
#include "catalogues/MH.h"
#include "catalogues/SB.h"
#include "catalogues/SE.h"
#include "catalogues/SM.h"
#include "catalogues/SP.h"
#include "catalogues/VR.h"
#include "contracts/CF.h"
#include "contracts/CardPrintout.h"
#include "contracts/JournalMoney.h"
#include "contracts/JournalPeriod.h"
#include "app/Payments.h"
#include "app/SchemaUpgrade.h"
#include "reports/DL.h"
#include "reports/KS.h"
#include "reports/SV.h"
#include "app/RowGone.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/Doing.h"
#include "widgets/Focus.h"
#include "widgets/Icons.h"
#include "widgets/Links.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolBar.h"
#include "widgets/UpperCombo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TMF* MF = nullptr;

namespace {

const widgets::GridColumn kColumns[] = {{"  ID", 2},           {"  НОМЕР", 70},    {"  ДАТА", 95},
                                        {"  МАШИНА", 190},      {"  ГОС. НОМЕР", 105}, {"  ВЛАДЕЛЕЦ", 150},
                                        {"  ТЕЛЕФОН", 110},     {"  МЕХАНИК", 110},  {"  ОПЛАЧЕНО", 90},
                                        {"  К ОПЛАТЕ", 90}};
constexpr int kPaidColumn = 8;

widgets::UpperCombo* makeBox(QWidget* parent, const char* name) {
    auto* box = new widgets::UpperCombo(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

TMF::TMF(QWidget* parent) : QMainWindow(parent) {
    // Creation only sets FirstActivation: the data module does not exist yet.
    setObjectName(QStringLiteral("MF"));
    setWindowTitle(QStringLiteral("Торквиль 1.0"));
    FirstActivation = true;

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* filters = new QGroupBox(central);
    buildFilters(filters);
    layout->addWidget(filters);

    buildJournalGrid(central);
    layout->addWidget(Grid_doc, 1);
    setCentralWidget(central);

    buildToolBar();
    buildMenu();
    buildStatusBar();

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1040, 640);

    connectHandlers();
    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void TMF::buildJournalGrid(QWidget* area) {
    Grid_doc = new widgets::StringGrid(area);
    Grid_doc->setObjectName(QStringLiteral("Grid_doc"));
    Grid_doc->setColumns(kColumns);
    Grid_doc->setDefaultRowHeight(20);
    Grid_doc->setRowCount(2);
}

// The controls, tool buttons and menu items to their handlers.
void TMF::connectHandlers() {
    connect(Box1, &widgets::UpperCombo::userChanged, this, &TMF::Box1Change);
    connect(Box8, &widgets::UpperCombo::userChanged, this, &TMF::Box8Change);
    connect(Box9, &widgets::UpperCombo::userChanged, this, &TMF::Box9Change);
    for (widgets::UpperCombo* box : {Box2, Box81, Box91})
        connect(box, &widgets::UpperCombo::userChanged, this, &TMF::RefillJournal);
    for (widgets::UpperCombo* box : {Box3, Box4, Box6, Box10})
        connect(box, &widgets::UpperCombo::userChanged, this, &TMF::Box3Change);
    for (widgets::UpperCombo* box : {Box1, Box2, Box3, Box4, Box8, Box81, Box9, Box91, Box6, Box10})
        connect(box, &widgets::UpperCombo::enterPressed, box, [box] { widgets::focusNext(box); });
    connect(BitBtn1, &QPushButton::clicked, this, &TMF::BitBtn1Click);
    connect(Grid_doc, &widgets::StringGrid::enterPressed, this, &TMF::ToolButton6Click);
    connect(Grid_doc, &widgets::StringGrid::keyDown, this, &TMF::Grid_docKeyDown);
    connect(Grid_doc, &widgets::StringGrid::rowDoubleClicked, this, &TMF::ToolButton6Click);

    connect(ToolButton2, &QToolButton::clicked, this, &TMF::ToolButton2Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TMF::ToolButton4Click);
    connect(ToolButton6, &QToolButton::clicked, this, &TMF::ToolButton6Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TMF::ToolButton8Click);
    connect(ToolButton24, &QToolButton::clicked, this, &TMF::N31Click);
    connect(ToolButton26, &QToolButton::clicked, this, &TMF::N7Click);
    connect(ToolButton28, &QToolButton::clicked, this, &TMF::N10Click);
    connect(ToolButton30, &QToolButton::clicked, this, &TMF::N5Click);
    connect(ToolButton32, &QToolButton::clicked, this, &TMF::N11Click);
    connect(ToolButton34, &QToolButton::clicked, this, &TMF::N12Click);
    connect(ToolButton36, &QToolButton::clicked, this, &TMF::N13Click);
    connect(ToolButton14, &QToolButton::clicked, this, &TMF::N11111Click);

    connect(N9, &QAction::triggered, this, &TMF::ToolButton2Click);
    connect(N16, &QAction::triggered, this, &TMF::ToolButton6Click);
    connect(N18, &QAction::triggered, this, &TMF::ToolButton4Click);
    connect(N4, &QAction::triggered, this, &TMF::N4Click);
    connect(N11111, &QAction::triggered, this, &TMF::N11111Click);
    connect(N31, &QAction::triggered, this, &TMF::N31Click);
    connect(N7, &QAction::triggered, this, &TMF::N7Click);
    connect(N10, &QAction::triggered, this, &TMF::N10Click);
    connect(N5, &QAction::triggered, this, &TMF::N5Click);
    connect(N11, &QAction::triggered, this, &TMF::N11Click);
    connect(N12, &QAction::triggered, this, &TMF::N12Click);
    connect(N13, &QAction::triggered, this, &TMF::N13Click);
    connect(N2, &QAction::triggered, this, &TMF::ToolButton8Click);
    connect(N6, &QAction::triggered, this, &TMF::N6Click);
    connect(WEB1, &QAction::triggered, this, &TMF::WEB1Click);
    connect(N20, &QAction::triggered, this, &TMF::N20Click);
    connect(N19, &QAction::triggered, this, &TMF::N19Click);
    connect(N41, &QAction::triggered, this, &TMF::N41Click);
    connect(N42, &QAction::triggered, this, &TMF::N42Click);
    connect(N52, &QAction::triggered, this, &TMF::N52Click);
    connect(N53, &QAction::triggered, this, &TMF::N53Click);
    connect(BoxPay, &widgets::UpperCombo::userChanged, this, &TMF::RefillJournal);
    connect(BoxPay, &widgets::UpperCombo::enterPressed, BoxPay, [this] { widgets::focusNext(BoxPay); });
    connect(N44, &QAction::triggered, this, &TMF::N44Click);
    connect(N45, &QAction::triggered, this, &TMF::N45Click);
    connect(N54, &QAction::triggered, this, &TMF::N54Click);
    connect(N55, &QAction::triggered, this, &TMF::N55Click);
    connect(N43, &QAction::triggered, this, &TMF::N43Click);
    connect(N56, &QAction::triggered, this, &TMF::N56Click);
}

void TMF::buildFilters(QWidget* area) {
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    auto label = [area](const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), area);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    Box1 = makeBox(area, "Box1");
    Box2 = makeBox(area, "Box2");
    Box3 = makeBox(area, "Box3");
    Box4 = makeBox(area, "Box4");
    Box8 = makeBox(area, "Box8");
    Box81 = makeBox(area, "Box81");
    Box9 = makeBox(area, "Box9");
    Box91 = makeBox(area, "Box91");
    Box6 = makeBox(area, "Box6");
    Box10 = makeBox(area, "Box10");
    // The filters match what was typed: no inline completion here.
    for (widgets::UpperCombo* box : {Box1, Box2, Box3, Box4, Box8, Box81, Box9, Box91, Box6}) box->setAutoComplete(false);
    // A filter is never longer than the column it matches.
    namespace col = app::columns::cars;
    const std::pair<widgets::UpperCombo*, int> lengths[] = {
        {Box1, col::dev},     {Box2, col::mod}, {Box3, col::gnum},   {Box4, col::region}, {Box8, col::engine},
        {Box81, col::engine2}, {Box9, col::body}, {Box91, col::body2}, {Box6, col::vin}};
    for (const auto& [box, length] : lengths) box->setMaxLength(length);
    Box10->setChoiceOnly(true);
    Box10->setItems(journalPeriodNames());
    Box10->setCurrentIndex(kPeriodYear);
    BoxPay = makeBox(area, "BoxPay");
    BoxPay->setChoiceOnly(true);
    BoxPay->setItems(contracts::journalPayNames());
    BoxPay->setCurrentIndex(contracts::kPayAll);

    // Left column: car; middle: engine and body; right: VIN, period and the clear button.
    grid->addWidget(label("МАРКА, МОДЕЛЬ"), 0, 0);
    grid->addWidget(Box1, 0, 1);
    grid->addWidget(Box2, 0, 2);
    grid->addWidget(label("ГОС. НОМЕР"), 1, 0);
    grid->addWidget(Box3, 1, 1);
    grid->addWidget(Box4, 1, 2);
    grid->addWidget(label("ДВИГАТЕЛЬ"), 0, 3);
    grid->addWidget(Box8, 0, 4);
    grid->addWidget(Box81, 0, 5);
    grid->addWidget(label("КУЗОВ"), 1, 3);
    grid->addWidget(Box9, 1, 4);
    grid->addWidget(Box91, 1, 5);
    grid->addWidget(label("VIN"), 0, 6);
    grid->addWidget(Box6, 0, 7);
    grid->addWidget(label("ПЕРИОД"), 1, 6);
    grid->addWidget(Box10, 1, 7);

    BitBtn1 = new QPushButton(area);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(widgets::icon(widgets::Glyph::ClearFilter));
    BitBtn1->setIconSize(QSize(24, 24));
    BitBtn1->setToolTip(QStringLiteral("Очистить фильтры"));
    BitBtn1->setFixedSize(40, 52);
    grid->addWidget(BoxPay, 1, 8);
    grid->addWidget(BitBtn1, 0, 9, 2, 1);
    for (int c : {1, 4, 7}) grid->setColumnStretch(c, 3);
    for (int c : {2, 5}) grid->setColumnStretch(c, 2);
    Box4->setMaximumWidth(70);

    // Tab order follows the reading order of the boxes.
    QWidget* order[] = {Box1, Box2, Box3, Box4, Box8, Box81, Box9, Box91, Box6, Box10, BoxPay, BitBtn1};
    for (size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void TMF::buildToolBar() {
    ToolBar1 = addToolBar(QString());
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    using widgets::Glyph;
    ToolButton2 = widgets::addToolButton(ToolBar1, "ToolButton2", Glyph::NewDocument, "Регистрация документа");
    ToolButton4 = widgets::addToolButton(ToolBar1, "ToolButton4", Glyph::EditDocument, "Редактирование документа");
    ToolButton6 = widgets::addToolButton(ToolBar1, "ToolButton6", Glyph::ViewDocument, "Просмотр документа");
    ToolBar1->addSeparator();
    ToolButton8 = widgets::addToolButton(ToolBar1, "ToolButton8", Glyph::Print, "Печать карточки документа");
    ToolBar1->addSeparator();
    ToolButton24 = widgets::addToolButton(ToolBar1, "ToolButton24", Glyph::Car, "Справочник машин");
    ToolButton26 = widgets::addToolButton(ToolBar1, "ToolButton26", Glyph::Works, "Справочник видов работ");
    ToolButton28 = widgets::addToolButton(ToolBar1, "ToolButton28", Glyph::Spares, "Справочник запчастей");
    ToolButton30 = widgets::addToolButton(ToolBar1, "ToolButton30", Glyph::Mechanic, "Справочник механиков");
    ToolBar1->addSeparator();
    ToolButton32 = widgets::addToolButton(ToolBar1, "ToolButton32", Glyph::Makes, "Справочник марок / моделей машин");
    ToolButton34 = widgets::addToolButton(ToolBar1, "ToolButton34", Glyph::Engine, "Справочник двигателей");
    ToolButton36 = widgets::addToolButton(ToolBar1, "ToolButton36", Glyph::Body, "Справочник кузовов");
    widgets::addRightSpacer(ToolBar1);
    ToolButton14 = widgets::addToolButton(ToolBar1, "ToolButton14", Glyph::Exit, nullptr);
}

void TMF::buildMenu() {
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* db = bar->addMenu(QStringLiteral("База данных"));
    N9 = item(db, "N9", "Новая запись");
    N16 = item(db, "N16", "Просмотр");
    N18 = item(db, "N18", "Редактирование");
    db->addSeparator();
    N4 = item(db, "N4", "Удаление");
    db->addSeparator();
    N11111 = item(db, "N11111", "Выйти из программы");
    QMenu* refs = bar->addMenu(QStringLiteral("Справочники"));
    N31 = item(refs, "N31", "Машины");
    N7 = item(refs, "N7", "Виды работ");
    N10 = item(refs, "N10", "Запчасти");
    N5 = item(refs, "N5", "Механики");
    N11 = item(refs, "N11", "Фирмы");
    N12 = item(refs, "N12", "Двигатели");
    N13 = item(refs, "N13", "Кузова");
    QMenu* reports = bar->addMenu(QStringLiteral("Отчеты"));
    N2 = item(reports, "N2", "Печать карточки");
    N6 = item(reports, "N6", "Итоговый свод");
    N52 = item(reports, "N52", "Должники");
    N53 = item(reports, "N53", "Касса");
    buildRemindersItem(reports);
    N54 = item(reports, "N54", "Выработка механиков");
    N55 = item(reports, "N55", "Выручка");
    N56 = item(reports, "N56", "Заказ-наряд");
    N40 = bar->addMenu(QStringLiteral("Сервис"));
    N40->setObjectName(QStringLiteral("N40"));
    N41 = item(N40, "N41", "Резервная копия базы данных…");
    N42 = item(N40, "N42", "Восстановление из копии…");
    N44 = item(N40, "N44", "Пользователи");
    N45 = item(N40, "N45", "Журнал изменений");
    // A clerk neither deletes a contract nor copies or replaces the database,
    // nor sees the users or the change log.
    N40->addSeparator();
    N43 = item(N40, "N43", "Реквизиты автосервиса…");
    // A clerk neither deletes a contract nor copies or replaces the database,
    // nor sees the users, the change log or the shop's details.
    for (QAction* a : {N4, N41, N42, N44, N45, N43}) app::ownerOnly(a);
    QMenu* help = bar->addMenu(QStringLiteral("Помощь"));
    WEB1 = item(help, "WEB1", "WEB-сайт программы");
    N20 = item(help, "N20", "История версий");
    N19 = item(help, "N19", "О программе...");
}

void TMF::buildStatusBar() {
    SBar = statusBar();
    SBar->setObjectName(QStringLiteral("SBar"));
    SBar->setSizeGripEnabled(false);
    const int widths[5] = {50, 170, 135, 345, 50};
    const char* texts[5] = {"", "   Enter - просмотр документа", "    F4 - редактирование", "", ""};
    for (int i = 0; i < 5; ++i) {
        SBarPanels[i] = new QLabel(QString::fromUtf8(texts[i]), SBar);
        SBarPanels[i]->setFixedWidth(widths[i]);
        SBarPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        SBar->addWidget(SBarPanels[i]);
    }
    // The wide empty panel carries the news of the other windows.
    app::setStatusLabel(SBarPanels[3]);
}

// ---- Shared routines -------------------------------------------------------

void TMF::FillNameCombo(widgets::UpperCombo* box, const QString& table) { app::FillNameCombo(box, table); }

void TMF::PrintContractCard(const QString& key) { contracts::PrintContractCard(key); }

QString TMF::siteAddress() { return app::siteAddress(); }
QString TMF::supportAddress() { return app::supportAddress(); }

// ---- Activation and the journal -------------------------------------------

void TMF::FormActivate() {
    if (FirstActivation) {
        FirstActivation = false;
        if (!app::ConnectDatabase()) return;  // the program ends
    }
    updateSchemaItems();
    if (CF) CF->ClearMode();
    FillNameCombo(Box1, QStringLiteral("dev"));
    FillNameCombo(Box8, QStringLiteral("engines"));
    FillNameCombo(Box9, QStringLiteral("body"));
    if (DM->IBDbase.connected()) RefillJournal();
    Box1->setFocus();
}

void TMF::RefillJournal() {
    fb::Query& q = DM->iDoc;
    q.close();
    const struct {
        const char* param;
        widgets::UpperCombo* box;
    } filters[] = {{"dev", Box1},     {"mod", Box2},   {"gnum", Box3},    {"region", Box4}, {"engine", Box8},
                   {"body", Box9},    {"engine2", Box81}, {"body2", Box91}, {"vin", Box6}};
    for (const auto& f : filters)
        app::bindPrefix(q, QString::fromLatin1(f.param), f.box->text(), f.box->maxLength());
    const JournalPeriod period = journalPeriod(Box10->currentIndex(), QDate::currentDate());
    q.setDateTime(QStringLiteral("d1"), QDateTime(period.d1, QTime(0, 0)));
    q.setDateTime(QStringLiteral("d2"), QDateTime(period.d2, QTime(0, 0)));
    // The grid keeps the ten columns it shows and makes a cell's text when it is painted.
    enum { Key, Num, Date, Dev, Mod, Gnum, Region, Owner, Phone, Meh };
    // The statement's rows bring the contract's kept sums along (all of
    // Contracts' columns); on a database without them the money of the
    // period comes from a second statement, merged by key.
    const bool withMoney = app::hasSchema(2);
    const bool kept = withMoney && app::contractSumsKept();
    QStringList columns = {QStringLiteral("PK_id"), QStringLiteral("Num"),   QStringLiteral("C_Date"),
                           QStringLiteral("Dev"),   QStringLiteral("Mod"),   QStringLiteral("gnum"),
                           QStringLiteral("region"), QStringLiteral("Owner"), QStringLiteral("Phone"),
                           QStringLiteral("Meh")};
    if (kept) columns << QStringLiteral("works_sum") << QStringLiteral("spares_sum") << QStringLiteral("paid_sum");
    q.open(columns);
    fb::RowSet rows = q.takeRows();
    QHash<int, app::ContractMoney> money;
    if (withMoney && !kept) money = app::contractMoney(DM->IBDbase, DM->IBTrans, period.d1, period.d2);
    Grid_doc->setColumnHidden(kPaidColumn, !withMoney);
    Grid_doc->setColumnHidden(kPaidColumn + 1, !withMoney);
    BoxPay->setVisible(withMoney);
    N52->setEnabled(withMoney);
    N53->setEnabled(withMoney);
    Grid_doc->setTitles(widgets::columnTitles(kColumns));
    auto cell = [](const fb::RowSet& rs, int col, int r) {
        const QString pad = QStringLiteral("  ");
        switch (col) {
        case 0: return rs.text(r, Key);
        case 1: return pad + rs.text(r, Num);
        case 2: return pad + rs.text(r, Date);
        case 3: return pad + rs.text(r, Dev) + QStringLiteral(" - ") + rs.text(r, Mod);
        case 4: return pad + rs.text(r, Gnum) + u' ' + rs.text(r, Region);
        case 5: return pad + rs.text(r, Owner);
        case 6: return pad + rs.text(r, Phone);
        case 7: return pad + rs.text(r, Meh);
        default: return QString();
        }
    };
    Grid_doc->fill(std::make_shared<contracts::JournalRows>(std::move(rows), cell, Key, kPaidColumn, money, withMoney,
                                                            BoxPay->currentIndex() == contracts::kPayUnpaid,
                                                            kept ? Meh + 1 : -1));
}

// ---- Filters -----------------------------------------------------------------

void TMF::Box1Change() {
    RefillJournal();
    app::FillDependentCombo(Box1, Box2, app::kMakes);
}

void TMF::Box8Change() {
    RefillJournal();
    app::FillDependentCombo(Box8, Box81, app::kEngines);
}

void TMF::Box9Change() {
    RefillJournal();
    app::FillDependentCombo(Box9, Box91, app::kBodies);
}

void TMF::Box3Change() { RefillJournal(); }

void TMF::BitBtn1Click() {
    for (widgets::UpperCombo* box : {Box1, Box2, Box3, Box4, Box8, Box9, Box81, Box91, Box6}) box->setText(QString());
    RefillJournal();
}

void TMF::Grid_docKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_F4 && (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != Qt::AltModifier)
        ToolButton4Click();
}

// ---- Opening the editor --------------------------------------------------------

void TMF::ToolButton2Click() {
    CF->NewDoc = true;
    CF->setWindowTitle(QStringLiteral("* Новая запись "));
    app::openModeless(CF);
}

void TMF::ToolButton6Click() {
    const int row = Grid_doc->currentRow();
    if (Grid_doc->cell(0, row).isEmpty()) return;
    CF->setWindowTitle(QStringLiteral("Просмотр записи №") + Grid_doc->cell(1, row));
    app::openModeless(CF);
}

void TMF::ToolButton4Click() {
    const int row = Grid_doc->currentRow();
    if (Grid_doc->cell(0, row).isEmpty()) return;
    CF->setWindowTitle(QStringLiteral("Редактирование записи №") + Grid_doc->cell(0, row));
    CF->EditDoc = true;
    app::openModeless(CF);
}

void TMF::ToolButton8Click() { PrintContractCard(Grid_doc->cell(0, Grid_doc->currentRow())); }

// ---- Deleting and ending -------------------------------------------------------

void TMF::N4Click() {
    const QString key = Grid_doc->cell(0, Grid_doc->currentRow());
    if (key.isEmpty()) return;
    setEnabled(false);
    struct Reenable {
        TMF* w;
        ~Reenable() { w->setEnabled(true); }
    };
    {
        Reenable guard{this};
        bool refused = false;
        if (widgets::askDelete()) {
            const struct {
                const char* sql;
                const char* param;
            } steps[] = {{"DELETE FROM ct_works WHERE ct_fk = :ct_fk", "ct_fk"},
                         {"DELETE FROM ct_spares WHERE ct_fk = :ct_fk", "ct_fk"},
                         {"DELETE FROM contracts WHERE pk_id = :pk_id", "pk_id"}};
            try {
                const widgets::Doing doing(QStringLiteral("Не удалось удалить договор"),
                                           QStringLiteral("Договор не удалён — удалите его ещё раз."));
                // The contract goes with its lines, or nothing goes.
                fb::WriteUnit unit(DM->IBTrans);
                // Held to the end of the unit: no payment can come under it meanwhile.
                if (app::hasSchema(2) && app::lockRow(QStringLiteral("Contracts"), rtl::StrToInt(key)) &&
                    app::hasPayments(rtl::StrToInt(key))) {
                    refused = true;
                } else {
                    for (const auto& s : steps) {
                        TDM::reset(DM->iSQL, QString::fromLatin1(s.sql));
                        DM->iSQL.setString(QString::fromLatin1(s.param), key);
                        DM->execCommit(DM->iSQL);
                    }
                    unit.commit();
                }
            } catch (...) {
                // The window comes back and the journal is refilled after a failed step too.
                setEnabled(true);
                FormActivate();
                throw;
            }
        }
        // Said once the contract is free again; nothing was deleted.
        if (refused) widgets::showMessage(app::contractHasPaymentsText());
    }
    FormActivate();
}

void TMF::N11111Click() { QApplication::quit(); }

void TMF::closeEvent(QCloseEvent* event) {
    // While the editor, the car directory or a dictionary has the journal
    // disabled, the window manager's close (title bar, task bar) must not end
    // the program under it: that window comes to the front instead, as on a
    // click. A signal from the system ends the program without asking here.
    if (!isEnabled()) {
        event->ignore();
        widgets::Activation::instance().raiseWindowOver(this);
        return;
    }
    event->accept();
    QApplication::quit();
}

// ---- Other windows -------------------------------------------------------------

void TMF::N31Click() { app::openModeless(DC); }
void TMF::N7Click() { app::openModal(VR); }
void TMF::N10Click() { app::openModal(SP); }
void TMF::N5Click() { app::openModal(MH); }
void TMF::N52Click() {
    if (app::openModal(DL) == QDialog::Accepted && !DL->chosenKey().isEmpty()) OpenContract(DL->chosenKey());
}
void TMF::N53Click() { app::openModal(KS); }

void TMF::OpenContract(const QString& key) {
    // The contract's row in the journal; when the filters hide it, they are
    // cleared and the period widened first.
    auto find = [this, &key] {
        for (int r = 1; r < Grid_doc->rowCount(); ++r)
            if (Grid_doc->cell(0, r) == key) return r;
        return -1;
    };
    int row = find();
    if (row < 0) {
        for (widgets::UpperCombo* box : {Box1, Box2, Box3, Box4, Box8, Box9, Box81, Box91, Box6}) box->setText(QString());
        Box10->setCurrentIndex(kPeriodAll);
        BoxPay->setCurrentIndex(contracts::kPayAll);
        RefillJournal();
        row = find();
    }
    if (row < 0) throw app::RowGone(app::rowGoneText());
    Grid_doc->setCurrentRow(row);
    ToolButton6Click();
}
void TMF::N11Click() { app::openModeless(SM); }
void TMF::N12Click() { app::openModeless(SE); }
void TMF::N13Click() { app::openModeless(SB); }
void TMF::N6Click() { app::openModal(SV); }
void TMF::WEB1Click() { widgets::openLink(siteAddress()); }
void TMF::N20Click() { app::openModal(Hst); }
void TMF::N19Click() { app::openModal(AboutBox); }
