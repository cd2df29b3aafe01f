#include "catalogues/TwoLevelDictionary.h"

#include "app/RowGone.h"
#include "app/DM.h"
#include "app/WindowFlow.h"
#include "rtl/Convert.h"
#include "widgets/DisabledWhile.h"
#include "widgets/Activation.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/SaveShortcut.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kDeleteCaption = QStringLiteral("Удаление");

QPushButton* pictureButton(QWidget* parent, const char* name, widgets::Glyph glyph) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(widgets::icon(glyph));
    b->setIconSize(QSize(24, 24));
    b->setFixedSize(52, 34);
    return b;
}

QGroupBox* group(QWidget* parent, const char* name) {
    auto* g = new QGroupBox(parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

widgets::StringGrid* makeList(QWidget* parent, const char* name) {
    auto* grid = new widgets::StringGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setColCount(2);
    grid->setColWidth(0, 2);
    grid->setColWidth(1, 235);
    return grid;
}

}  // namespace

TwoLevelDictionary::TwoLevelDictionary(const TwoLevelDictionaryConfig& config, QWidget* parent)
    : QWidget(parent, Qt::Window), config_(config) {
    setObjectName(QString::fromLatin1(config.objectName));
    setWindowTitle(QString::fromUtf8(config.caption));

    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(8);
    using widgets::Glyph;
    // One column per level: buttons, name field, list.
    auto level = [&](const char* gButtons, const char* gField, const char* gList, QGroupBox*& buttons,
                     QGroupBox*& fieldBox, QGroupBox*& listBox, QPushButton* (&b)[4], const char* const names[4],
                     widgets::UpperEdit*& edit, const char* editName, widgets::StringGrid*& grid,
                     const char* gridName) {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        buttons = group(this, gButtons);
        auto* row = new QHBoxLayout(buttons);
        row->setContentsMargins(6, 4, 6, 4);
        const Glyph glyphs[4] = {Glyph::NewDocument, Glyph::EditDocument, Glyph::Save, Glyph::Delete};
        for (int i = 0; i < 4; ++i) {
            b[i] = pictureButton(buttons, names[i], glyphs[i]);
            row->addWidget(b[i]);
        }
        row->addStretch(1);
        column->addWidget(buttons);
        fieldBox = group(this, gField);
        auto* f = new QVBoxLayout(fieldBox);
        f->setContentsMargins(6, 4, 6, 4);
        edit = new widgets::UpperEdit(fieldBox);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setMaxLength(60);
        f->addWidget(edit);
        column->addWidget(fieldBox);
        listBox = group(this, gList);
        auto* l = new QVBoxLayout(listBox);
        l->setContentsMargins(4, 4, 4, 4);
        grid = makeList(listBox, gridName);
        l->addWidget(grid);
        column->addWidget(listBox, 1);
        columns->addLayout(column);
    };
    QPushButton* master[4];
    QPushButton* detail[4];
    const char* const masterNames[4] = {"BitBtn11", "BitBtn12", "BitBtn13", "BitBtn14"};
    const char* const detailNames[4] = {"BitBtn21", "BitBtn22", "BitBtn23", "BitBtn24"};
    level("Gp1", "GroupBox3", "Gp2", Gp1, GroupBox3, Gp2, master, masterNames, Edit1, "Edit1", Grid_dev, "Grid_dev");
    level("Gp4", "GroupBox6", "Gp5", Gp4, GroupBox6, Gp5, detail, detailNames, Edit2, "Edit2", Grid_mod, "Grid_mod");
    BitBtn11 = master[0], BitBtn12 = master[1], BitBtn13 = master[2], BitBtn14 = master[3];
    BitBtn21 = detail[0], BitBtn22 = detail[1], BitBtn23 = detail[2], BitBtn24 = detail[3];
    Edit1->setMaxLength(40);  // master names are shorter than details
    Edit2->setMaxLength(config.detailLength);
    Grid_dev->setTitles({QStringLiteral("id"), QString::fromUtf8(config.masterTitle)});
    Grid_mod->setTitles({QStringLiteral("id"), QString::fromUtf8(config.detailTitle)});

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(560, 480);
    BitBtn13->setEnabled(false);
    BitBtn23->setEnabled(false);

    connect(Grid_dev, &widgets::StringGrid::rowClicked, this, &TwoLevelDictionary::Grid_devClick);
    connect(Grid_dev, &widgets::StringGrid::keyDown, this, &TwoLevelDictionary::Grid_devKeyDown);
    connect(Grid_mod, &widgets::StringGrid::rowClicked, this, &TwoLevelDictionary::Grid_modClick);
    connect(Grid_mod, &widgets::StringGrid::keyDown, this, &TwoLevelDictionary::Grid_modKeyDown);
    connect(BitBtn11, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn11Click);
    connect(BitBtn12, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn12Click);
    connect(BitBtn13, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn13Click);
    connect(BitBtn14, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn14Click);
    connect(BitBtn21, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn21Click);
    connect(BitBtn22, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn22Click);
    connect(BitBtn23, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn23Click);
    connect(BitBtn24, &QPushButton::clicked, this, &TwoLevelDictionary::BitBtn24Click);
    widgets::addSaveShortcut(this, {BitBtn13, BitBtn23});
    connect(Edit1, &QLineEdit::textChanged, this, &TwoLevelDictionary::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TwoLevelDictionary::Edit2Change);
    connect(Edit1, &widgets::LineEdit::enterPressed, this, [this] { Edit1KeyPress(QChar(13)); });
    connect(Edit1, &widgets::LineEdit::escapePressed, this, [this] { Edit1KeyPress(QChar(27)); });
    connect(Edit2, &widgets::LineEdit::enterPressed, this, [this] { Edit2KeyPress(QChar(13)); });
    connect(Edit2, &widgets::LineEdit::escapePressed, this, [this] { Edit2KeyPress(QChar(27)); });

    // Coming back from another window or program keeps the entry being typed.
    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); },
                                               widgets::Activation::Runs::OncePerOpening);
}

// ---- Statements ------------------------------------------------------------

// The patterns name the tables as M (master), D (detail) and K (link column).
QString TwoLevelDictionary::statement(const char* pattern) const {
    QString s = QString::fromLatin1(pattern);
    s.replace(QLatin1String("{M}"), QLatin1String(config_.tables.master));
    s.replace(QLatin1String("{D}"), QLatin1String(config_.tables.detail));
    s.replace(QLatin1String("{K}"), QLatin1String(config_.tables.link));
    return s;
}

QString TwoLevelDictionary::masterKey() const { return Grid_dev->cell(0, Grid_dev->currentRow()); }
QString TwoLevelDictionary::detailKey() const { return Grid_mod->cell(0, Grid_mod->currentRow()); }

// ---- Lists -----------------------------------------------------------------

void TwoLevelDictionary::FormActivate() {
    Adding = false;
    Editing = false;
    level_ = Level::None;
    unlockAll();  // whatever an unfinished operation left locked
    ReloadGrids();
    Grid_dev->setFocus();
    BitBtn13->setEnabled(false);
    BitBtn23->setEnabled(false);
}

void TwoLevelDictionary::ReloadGrids() {
    ClearMasterGrid();
    ClearDetailGrid();
    FillMasterGrid();
    FillDetailGrid();
}

void TwoLevelDictionary::ClearMasterGrid() {
    Edit1->clear();
    Grid_dev->setRowCount(2);
    Grid_dev->setTitles({QStringLiteral("id"), QString::fromUtf8(config_.masterTitle)});
    Grid_dev->setCell(0, 1, QString());
    Grid_dev->setCell(1, 1, QString());
}

void TwoLevelDictionary::ClearDetailGrid() {
    Edit2->clear();
    Grid_mod->setRowCount(2);
    Grid_mod->setTitles({QStringLiteral("id"), QString::fromUtf8(config_.detailTitle)});
    Grid_mod->setCell(0, 1, QString());
    Grid_mod->setCell(1, 1, QString());
}

// Refills a list from a statement, with the master key bound when given.
void TwoLevelDictionary::fillGrid(widgets::StringGrid* grid, const QString& sql, const QString& key, const char* title) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, sql);
    if (!key.isNull()) q.setString(QStringLiteral("fk"), key);
    q.open();
    const int n = q.recordCount();
    const fb::RowSet& rows = q.rows();
    const int cKey = rows.indexOf(QStringLiteral("pk_id")), cName = rows.indexOf(QStringLiteral("name"));
    grid->beginFill(n > 0 ? n + 1 : 2);
    grid->setTitles({QStringLiteral("id"), QString::fromUtf8(title)});
    for (int r = 0; r < n; ++r) {
        grid->setCell(0, r + 1, rows.text(r, cKey));
        grid->setCell(1, r + 1, rows.text(r, cName));
    }
    grid->endFill();
    q.close();
}

void TwoLevelDictionary::FillMasterGrid() {
    fillGrid(Grid_dev, statement("SELECT * FROM {M} ORDER BY name"), QString(), config_.masterTitle);
    if (Grid_dev->cell(0, 1).isEmpty()) {
        ClearMasterGrid();
        return;
    }
    Edit1->setText(Grid_dev->cell(1, Grid_dev->currentRow()));
}

void TwoLevelDictionary::FillDetailGrid() {
    const QString key = masterKey();
    if (key.isEmpty()) {
        // No master: no details either (the list may still show those of a
        // master just deleted).
        ClearDetailGrid();
        return;
    }
    fillGrid(Grid_mod, statement("SELECT * FROM {D} WHERE {K}=:fk ORDER BY name"), key, config_.detailTitle);
    if (Grid_mod->cell(0, 1).isEmpty())
        ClearDetailGrid();
    else
        Edit2->setText(Grid_mod->cell(1, Grid_mod->currentRow()));
}

bool TwoLevelDictionary::masterHasDetails(const QString& key) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, statement("SELECT COUNT(*) FROM {D} WHERE {K}=:fk"));
    q.setString(QStringLiteral("fk"), key);
    q.open();
    const bool any = q.field(0).asInteger() > 0;
    q.close();
    return any;
}

// ---- Selecting -------------------------------------------------------------

void TwoLevelDictionary::Grid_devClick() {
    FillDetailGrid();
    Edit1->setText(Grid_dev->cell(1, Grid_dev->currentRow()));
}

void TwoLevelDictionary::Grid_devKeyDown() { Grid_devClick(); }

void TwoLevelDictionary::Grid_modClick() { Edit2->setText(Grid_mod->cell(1, Grid_mod->currentRow())); }

void TwoLevelDictionary::Grid_modKeyDown() { Grid_modClick(); }

// ---- The two levels --------------------------------------------------------------

// What the master and the detail level differ in.
TwoLevelDictionary::Side TwoLevelDictionary::side(Level level) const {
    if (level == Level::Master)
        return {Edit1, Grid_dev, BitBtn11, BitBtn12, BitBtn13, Gp4, Gp5, "{M}",
                &TwoLevelDictionary::masterKey, &TwoLevelDictionary::FillMasterGrid,
                &TwoLevelDictionary::Grid_devClick};
    return {Edit2, Grid_mod, BitBtn21, BitBtn22, BitBtn23, Gp1, Gp2, "{D}",
            &TwoLevelDictionary::detailKey, &TwoLevelDictionary::FillDetailGrid, &TwoLevelDictionary::Grid_modClick};
}

void TwoLevelDictionary::BitBtn11Click() { startAdding(Level::Master); }
void TwoLevelDictionary::BitBtn12Click() { startRenaming(Level::Master); }
void TwoLevelDictionary::BitBtn13Click() { saveLevel(Level::Master); }
void TwoLevelDictionary::BitBtn14Click() { deleteFrom(Level::Master); }
void TwoLevelDictionary::BitBtn21Click() {
    if (!masterKey().isEmpty()) startAdding(Level::Detail);  // a detail needs its master
}
void TwoLevelDictionary::BitBtn22Click() { startRenaming(Level::Detail); }
void TwoLevelDictionary::BitBtn23Click() { saveLevel(Level::Detail); }
void TwoLevelDictionary::BitBtn24Click() { deleteFrom(Level::Detail); }
void TwoLevelDictionary::Edit1Change() { noteChange(Level::Master); }
void TwoLevelDictionary::Edit2Change() { noteChange(Level::Detail); }
void TwoLevelDictionary::Edit1KeyPress(QChar key) { keyPress(Level::Master, key); }
void TwoLevelDictionary::Edit2KeyPress(QChar key) { keyPress(Level::Detail, key); }

// ---- Starting an operation ---------------------------------------------------

void TwoLevelDictionary::startAdding(Level level) {
    if (Adding || Editing) return;
    const Side s = side(level);
    s.edit->clear();
    Adding = true;
    level_ = level;
    s.rename->setEnabled(false);
    s.otherButtons->setEnabled(false);
    s.otherList->setEnabled(false);
    s.edit->setFocus();
}

void TwoLevelDictionary::startRenaming(Level level) {
    const Side s = side(level);
    if (Adding || Editing || s.edit->text().isEmpty() || (this->*s.key)().isEmpty()) return;
    Editing = true;
    level_ = level;
    renamedFrom_ = {(this->*s.key)(), {s.grid->cell(1, s.grid->currentRow())}};
    s.otherButtons->setEnabled(false);
    s.otherList->setEnabled(false);
    s.add->setEnabled(false);
    s.edit->setFocus();
}

// ---- Changes and keys -----------------------------------------------------------

void TwoLevelDictionary::noteChange(Level level) {
    if ((Adding || Editing) && level_ == level) side(level).save->setEnabled(true);
}

void TwoLevelDictionary::unlockAll() {
    for (QWidget* w : {static_cast<QWidget*>(Gp1), static_cast<QWidget*>(Gp2), static_cast<QWidget*>(Gp4),
                       static_cast<QWidget*>(Gp5), static_cast<QWidget*>(BitBtn11), static_cast<QWidget*>(BitBtn12),
                       static_cast<QWidget*>(BitBtn21), static_cast<QWidget*>(BitBtn22)})
        w->setEnabled(true);
}

// Drops the pending operation of either level and shows its row again.
void TwoLevelDictionary::cancelPending() {
    const Level was = level_;
    Adding = false;
    Editing = false;
    level_ = Level::None;
    BitBtn13->setEnabled(false);
    BitBtn23->setEnabled(false);
    unlockAll();
    if (was != Level::None) (this->*side(was).show)();
}

void TwoLevelDictionary::keyPress(Level level, QChar key) {
    if (key == QChar(27)) {
        cancelPending();
        (this->*side(level).show)();
    } else if (key == QChar(13) && (Adding || Editing) && level_ == level) {
        saveLevel(level);  // whether or not the save button is enabled yet
    }
}

// ---- Saving ---------------------------------------------------------------------

void TwoLevelDictionary::saveLevel(Level level) {
    if (level_ != level) return;
    const Side s = side(level);
    const bool detail = level == Level::Detail;
    fb::Query& q = DM->iSQL;
    if (Adding) {
        TDM::reset(q, statement(detail ? "INSERT INTO {D} (name, {K}) VALUES (:name, :{K})"
                                       : "INSERT INTO {M} (name) VALUES (:name)"));
        q.setString(QStringLiteral("name"), s.edit->text());
        if (detail) q.setString(QString::fromLatin1(config_.tables.link), masterKey());
    } else if (Editing) {
        TDM::reset(q, statement((QByteArray("UPDATE ") + s.table + " SET name = :name WHERE pk_id = :pk_id").constData()));
        q.setString(QStringLiteral("name"), s.edit->text());
        q.setString(QStringLiteral("pk_id"), (this->*s.key)());
    } else {
        return;
    }
    // The operation ends once its write went through; a failed write leaves
    // it pending, to be retried or dropped with Esc. A detail is written only
    // under a master that is still there, held until the commit so that no
    // other workstation deletes it meanwhile.
    fb::WriteUnit unit(DM->IBTrans);
    if (detail && Adding && !app::lockRow(QString::fromLatin1(config_.tables.master), rtl::StrToInt(masterKey()))) {
        FormActivate();
        throw app::RowGone(app::rowGoneText());
    }
    if (Editing) requireNameUnchanged(level);
    DM->execCommit(q);
    if (Editing) app::requireTouched(q, [this] { FormActivate(); });
    unit.commit();
    (Adding ? s.rename : s.add)->setEnabled(true);
    Adding = false;
    Editing = false;
    level_ = Level::None;
    s.save->setEnabled(false);
    s.otherButtons->setEnabled(true);
    s.otherList->setEnabled(true);
    (this->*s.fill)();  // the other list stays as it was
    s.grid->setFocus();
}

void TwoLevelDictionary::requireNameUnchanged(Level level) {
    const Side s = side(level);
    const QString key = (this->*s.key)();
    const QByteArray select = QByteArray("SELECT name FROM ") + s.table + " WHERE pk_id = :pk_id WITH LOCK";
    const char* title = level == Level::Master ? config_.masterTitle : config_.detailTitle;
    try {
        app::requireUnchanged(
            statement(select.constData()), key, renamedFrom_,
            [](const fb::Query& row) { return QStringList{row.field(QStringLiteral("name")).asString()}; },
            {QString::fromUtf8(title).trimmed()}, [this] { FormActivate(); });
    } catch (const app::RowChanged& changed) {
        // The list shows the stored name (Esc brings it back); saving again writes the input.
        renamedFrom_ = {key, changed.stored()};
        s.grid->setCell(1, s.grid->currentRow(), changed.stored().value(0));
        throw;
    }
}

// ---- Deleting -------------------------------------------------------------------

void TwoLevelDictionary::deleteFrom(Level level) {
    if (Adding || Editing) return;
    const Side s = side(level);
    widgets::DisabledWhile disabled(this);
    const QString key = (this->*s.key)();
    if (key.isEmpty()) return;  // an empty list
    // The table decides, not the detail list: that list is not refilled after
    // a master save and may show the details of another master.
    if (level == Level::Master && masterHasDetails(key)) {
        widgets::showMessage(QString::fromUtf8(config_.refusal), kDeleteCaption);
        return;
    }
    if (!widgets::askDelete()) return;
    const QString remove = statement((QByteArray("DELETE FROM ") + s.table + " WHERE pk_id = :pk_id").constData());
    const auto refresh = [this] { FormActivate(); };
    if (level == Level::Master) {
        // Asked again with the master held: a detail that another workstation
        // added meanwhile refuses the delete, and none can be added under it
        // until the delete is committed.
        bool refused = false;
        {
            fb::WriteUnit unit(DM->IBTrans);
            app::lockRow(QString::fromLatin1(config_.tables.master), rtl::StrToInt(key));
            refused = masterHasDetails(key);
            if (!refused) {
                app::deleteByKey(remove, key, refresh);
                unit.commit();
            }
        }
        // Said once the master is free again.
        if (refused) {
            widgets::showMessage(QString::fromUtf8(config_.refusal), kDeleteCaption);
            return;
        }
    } else {
        app::deleteByKey(remove, key, refresh);
    }
    (this->*s.fill)();
    (this->*s.show)();
}

// ---- Closing --------------------------------------------------------------------

void TwoLevelDictionary::FormHide() { app::backToMain(); }

void TwoLevelDictionary::closeEvent(QCloseEvent* event) {
    event->accept();  // closing is never refused; pending changes are dropped
}

void TwoLevelDictionary::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    FormHide();
}
