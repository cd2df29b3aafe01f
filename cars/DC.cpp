#include "cars/DC.h"

#include "app/RowGone.h"
#include "app/DM.h"
#include "app/LoginRights.h"
#include "app/WindowFlow.h"
#include "cars/CarList.h"
#include "cars/CarSearch.h"
#include "cars/HS.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/Focus.h"
#include "widgets/SaveShortcut.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolBar.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

TDC* DC = nullptr;

namespace {

const widgets::GridColumn kColumns[] = {
    {"  ID", 2},        {"  МАРКА/МОДЕЛЬ", 173}, {"  ГОС.НОМЕР", 100}, {"  ГОД", 62},       {"  ПРОБЕГ", 69},
    {"  ЦВЕТ", 125},    {"  ДВИГАТЕЛЬ", 141},    {"  КУЗОВ", 117},     {"  ВЛАДЕЛЕЦ", 133}, {"  ТЕЛЕФОН", 124}};

// A stored car as the fields show it, and what the columns are called in a message.
QStringList carTexts(const cars::CarValues& v) {
    return {v.dev,   v.mod,    v.gnum,    v.region, v.d_year, v.km,    v.vin,
            v.color, v.engine, v.engine2, v.body,   v.body2,  v.owner, v.phone};
}

QStringList carCaptions() {
    QStringList list;
    for (const char* c : {"МАРКА", "МОДЕЛЬ", "ГОС. НОМЕР", "РЕГИОН", "ГОД ВЫПУСКА", "ПРОБЕГ", "VIN", "ЦВЕТ",
                          "ДВИГАТЕЛЬ", "ДВИГАТЕЛЬ (ТИП)", "КУЗОВ", "КУЗОВ (ТИП)", "ВЛАДЕЛЕЦ", "ТЕЛЕФОН"})
        list << QString::fromUtf8(c);
    return list;
}

// The search field follows the list: it is disabled with it while a car is
// added or edited, so that the current row stays the car being edited.
class EnabledWith : public QObject {
public:
    EnabledWith(QWidget* follower, QWidget* leader) : QObject(follower), follower_(follower) {
        leader->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) follower_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

private:
    QWidget* follower_;
};

}  // namespace

// Created before the data module: nothing here may touch it.
TDC::TDC(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("DC"));
    setWindowTitle(QStringLiteral("Справочник машин"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1072, 617);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(7, 0, 8, 4);
    layout->setSpacing(2);

    buildToolBar();
    layout->addWidget(ToolBar1);

    GP = new QGroupBox(this);
    GP->setObjectName(QStringLiteral("GP"));
    createFields(GP);
    layout->addWidget(GP);

    layout->addLayout(buildSearch());

    buildList();
    layout->addWidget(Grid_cars, 1);  // the rest of the window
    new EnabledWith(EditFind, Grid_cars);

    setEntryControls({this, Grid_cars, GP, ToolButton8, Box1});
    startBrowsing();

    connectHandlers();
    widgets::Activation::instance().setHandler(this, [this] { activated(); });
}

void TDC::buildToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setFixedHeight(40);
    using widgets::Glyph;
    ToolButton2 = widgets::addToolButton(ToolBar1, "ToolButton2", Glyph::NewDocument, "Регистрация документа");
    widgets::addGap(ToolBar1);
    ToolButton4 = widgets::addToolButton(ToolBar1, "ToolButton4", Glyph::EditDocument, "Редактирование документа");
    widgets::addGap(ToolBar1);
    ToolButton8 = widgets::addToolButton(ToolBar1, "ToolButton8", Glyph::Save, "Сохранение изменений");
    widgets::addGap(ToolBar1);
    ToolButton7 = widgets::addToolButton(ToolBar1, "ToolButton7", Glyph::Delete, nullptr);
    app::ownerOnly(ToolButton7);
    widgets::addGap(ToolBar1);
    ToolButton16 = widgets::addToolButton(ToolBar1, "ToolButton16", Glyph::History, "История обслуживания");
    widgets::addRightSpacer(ToolBar1);
    ToolButton14 = widgets::addToolButton(ToolBar1, "ToolButton14", Glyph::Exit, nullptr);
}

// The search field above the list.
QHBoxLayout* TDC::buildSearch() {
    auto* find = new QHBoxLayout;
    auto* findLabel = new QLabel(QStringLiteral("ПОИСК"), this);
    EditFind = new widgets::UpperEdit(this);
    EditFind->setObjectName(QStringLiteral("EditFind"));
    EditFind->setMaxLength(60);
    EditFind->setToolTip(QStringLiteral("Гос. номер, владелец, телефон, VIN, марка или модель"));
    findLabel->setBuddy(EditFind);
    find->addWidget(findLabel);
    find->addWidget(EditFind, 1);
    return find;
}

void TDC::buildList() {
    Grid_cars = new widgets::StringGrid(this);
    Grid_cars->setObjectName(QStringLiteral("Grid_cars"));
    Grid_cars->setColumns(kColumns);
    Grid_cars->setTitleColor(QColor(widgets::kTitleYellow));
    Grid_cars->clearToBlankRow();
}

// The controls and tool buttons to their handlers.
void TDC::connectHandlers() {
    connect(Grid_cars, &widgets::StringGrid::rowClicked, this, &TDC::Grid_carsClick);
    connect(Grid_cars, &widgets::StringGrid::rowDoubleClicked, this, &TDC::Grid_carsClick);
    connect(Grid_cars, &widgets::StringGrid::keyDown, this, &TDC::Grid_carsKeyDown);
    for (widgets::UpperCombo* box : boxes()) {
        connect(box, &widgets::UpperCombo::enterPressed, this, [this, box] { Box1KeyPress(box, QChar(13)); });
        connect(box, &widgets::UpperCombo::escapePressed, this, [this, box] { Box1KeyPress(box, QChar(27)); });
    }
    connect(Edit1, &widgets::LineEdit::enterPressed, this, [this] { Box1KeyPress(Edit1, QChar(13)); });
    connect(Edit1, &widgets::LineEdit::escapePressed, this, [this] { Box1KeyPress(Edit1, QChar(27)); });
    connect(Box1, &widgets::UpperCombo::userChanged, this, &TDC::Box1Change);
    connect(Box8, &widgets::UpperCombo::userChanged, this, &TDC::Box8Change);
    connect(Box9, &widgets::UpperCombo::userChanged, this, &TDC::Box9Change);
    connect(Box2, &widgets::UpperCombo::userChanged, this, &TDC::Box2Change);
    connect(Box81, &widgets::UpperCombo::userChanged, this, &TDC::Box81Change);
    connect(Box91, &widgets::UpperCombo::userChanged, this, &TDC::Box91Change);
    for (widgets::UpperCombo* box : {Box3, Box4, Box5, Box6, Box7, Box10, Box11})
        connect(box, &widgets::UpperCombo::userChanged, this, &TDC::Box3Change);
    connect(Edit1, &QLineEdit::textChanged, this, &TDC::Box3Change);  // every change, the window's own too
    connect(ToolButton2, &QToolButton::clicked, this, &TDC::ToolButton2Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TDC::ToolButton4Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TDC::ToolButton8Click);
    widgets::addSaveShortcut(this, {ToolButton8});
    connect(ToolButton7, &QToolButton::clicked, this, &TDC::ToolButton7Click);
    connect(ToolButton14, &QToolButton::clicked, this, &TDC::ToolButton14Click);
    connect(ToolButton16, &QToolButton::clicked, this, &TDC::ToolButton16Click);
    connect(EditFind, &QLineEdit::textEdited, this, &TDC::EditFindChange);
    connect(EditFind, &widgets::LineEdit::enterPressed, this, [this] { Grid_cars->setFocus(); });
    connect(EditFind, &widgets::LineEdit::escapePressed, this, [this] {
        EditFind->clear();
        EditFindChange();
    });
}

// ---- The list ----------------------------------------------------------------

void TDC::FormActivate() {
    startBrowsing();

    fb::Query& q = DM->iCar;
    q.close();
    q.open(cars::searchColumns());
    away_ = false;
    Grid_cars->setTitles(widgets::columnTitles(kColumns));
    showCars(q.takeRows());
    ShowCurrentCar();
    fillNameLists();
}

void TDC::activated() {
    if (opening_) {
        opening_ = false;
        EditFind->clear();
        FormActivate();
        return;
    }
    // Coming back keeps the entry being typed.
    if (!away_ || pending()) return;
    const QString key = currentKey();
    FormActivate();
    selectCar(key);
}

void TDC::selectCar(const QString& key) {
    if (key.isEmpty() || key == currentKey()) return;
    for (int r = 1; r < Grid_cars->rowCount(); ++r)
        if (Grid_cars->cell(0, r) == key) {
            Grid_cars->setCurrentRow(r);
            ShowCurrentCar();
            return;
        }
}

void TDC::ShowCurrentCar() {
    const QString key = currentKey();
    shown_ = {};
    if (key.isEmpty()) {
        clear();
        return;
    }
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM Cars WHERE PK_id = :pk_id"));
    q.setString(QStringLiteral("pk_id"), key);
    q.open();
    if (!q.eof()) {
        const cars::CarValues car = cars::CarValues::fromRow(q);
        shown_ = {key, carTexts(car)};
        setValues(car);
    }
    q.close();
}

void TDC::Grid_carsClick() {
    if (!currentKey().isEmpty()) ShowCurrentCar();
}

void TDC::Grid_carsKeyDown() { Grid_carsClick(); }

// ---- Fields --------------------------------------------------------------------

void TDC::Box1KeyPress(QWidget* field, QChar key) {
    if (key == QChar(13)) widgets::focusNext(field);
    if (key == QChar(27)) leaveMode();  // the stored values of the current row come back
}

void TDC::Box1Change() {
    Box3Change();
    fillModels();
}

void TDC::Box8Change() {
    Box3Change();
    fillEngineSpecs();
}

void TDC::Box9Change() {
    Box3Change();
    fillBodySpecs();
}

void TDC::Box2Change() { Box3Change(); }
void TDC::Box81Change() { Box3Change(); }
void TDC::Box91Change() { Box3Change(); }

void TDC::Box3Change() { noteChange(); }

// ---- Commands ------------------------------------------------------------------

void TDC::ToolButton2Click() { beginAdding(); }
void TDC::ToolButton4Click() { beginEditing(); }
// A year that is no whole number leaves the mode on with the typed values.
void TDC::ToolButton8Click() { saveMode(); }
void TDC::ToolButton7Click() { deleteCurrent(); }

void TDC::InsertCar() {
    fb::Query& q = DM->iCar_Ins;
    q.close();
    bindCar(q);
    // No marker: nothing reads the key of a car added here back, and a row
    // without one can never answer the picker's read-back by marker.
    q.setNull(QStringLiteral("sysinfo"));
    DM->execCommit(q);
    q.close();
}

void TDC::UpdateCar() {
    fb::Query& q = DM->iCar_Upd;
    q.close();
    const int key = rtl::StrToInt(currentKey());
    bindCar(q);
    q.setInteger(QStringLiteral("pk_id"), key);
    // Written only over the car the fields showed when Edit began.
    fb::WriteUnit unit(DM->IBTrans);
    try {
        app::requireUnchanged(
            QStringLiteral("SELECT * FROM Cars WHERE pk_id = :pk_id WITH LOCK"), currentKey(), editedFrom_,
            [](const fb::Query& row) { return carTexts(cars::CarValues::fromRow(row)); }, carCaptions(),
            [this] { FormActivate(); });
    } catch (const app::RowChanged& changed) {
        editedFrom_ = {currentKey(), changed.stored()};  // seen now: saving again writes the input
        throw;
    }
    DM->execCommit(q);
    app::requireTouched(q, [this] { FormActivate(); });
    unit.commit();
    q.close();
}

void TDC::deleteRow() {
    app::deleteByKey(QStringLiteral("DELETE FROM cars WHERE pk_id = :pk_id"), currentKey(), [this] { FormActivate(); });
}

void TDC::ToolButton14Click() { hide(); }

// ---- Search and history ----------------------------------------------------------

void TDC::showCars(fb::RowSet rows) {
    search_ = std::make_shared<const cars::CarSearch>(cars::carListRows(std::move(rows), {QStringLiteral("  "), false}));
    Grid_cars->fill(search_->rows(EditFind->text()));
    // Folded once the window is up, before a clerk can type (10-40 ms at
    // 50,000 cars); a keystroke that comes first folds them itself.
    QTimer::singleShot(0, this, [search = std::weak_ptr<const cars::CarSearch>(search_)] {
        if (const auto s = search.lock()) s->prepare();
    });
}

void TDC::EditFindChange() {
    if (pending() || !search_) return;
    Grid_cars->fill(search_->rows(EditFind->text()));
    ShowCurrentCar();
}

void TDC::ToolButton16Click() {
    if (pending() || currentKey().isEmpty()) return;
    HS->ShowCar(currentKey(), this);
}

// ---- Closing -----------------------------------------------------------------------

void TDC::FormHide() { app::backToMain(); }

bool TDC::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) away_ = true;
    const bool done = QWidget::event(event);
    // Back from another program: Activation reports only a change of the
    // program's own active window. A disabled window (a question pending
    // over it) is left as it is.
    if (event->type() == QEvent::WindowActivate && isVisible() && isEnabled()) activated();
    return done;
}

void TDC::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) opening_ = true;
    QWidget::showEvent(event);
}

void TDC::closeEvent(QCloseEvent* event) {
    event->accept();  // never refused; a pending change is dropped
}

void TDC::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    FormHide();
}
