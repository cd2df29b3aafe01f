#include "catalogues/MH.h"

#include "app/RowGone.h"
#include "app/DM.h"
#include "app/LoginRights.h"
#include "app/MechanicRate.h"
#include "widgets/Activation.h"
#include "widgets/SaveShortcut.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolBar.h"
#include "widgets/UpperEdit.h"

#include <QGroupBox>
#include <QGridLayout>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TMH* MH = nullptr;

TMH::TMH(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MH"));
    setWindowTitle(QStringLiteral("Справочник механиков"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->setSpacing(4);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(32, 32));
    using widgets::Glyph;
    const QSize button(39, 38);
    ToolButton2 = widgets::addToolButton(ToolBar1, "ToolButton2", Glyph::NewDocument, "Регистрация документа", button);
    ToolButton4 =
        widgets::addToolButton(ToolBar1, "ToolButton4", Glyph::EditDocument, "Редактирование документа", button);
    widgets::addGap(ToolBar1);
    ToolButton8 = widgets::addToolButton(ToolBar1, "ToolButton8", Glyph::Save, "Сохрание изменений", button);
    widgets::addGap(ToolBar1);
    ToolButton6 = widgets::addToolButton(ToolBar1, "ToolButton6", Glyph::Delete, "Удаление документа", button);
    // The mechanics and their shares are the owner's: a clerk reads them.
    for (QToolButton* b : {ToolButton2, ToolButton4, ToolButton6}) app::ownerOnly(b);
    widgets::addRightSpacer(ToolBar1);
    ToolButton14 = widgets::addToolButton(ToolBar1, "ToolButton14", Glyph::Exit, nullptr, button);
    layout->addWidget(ToolBar1);

    GP = new QGroupBox(this);
    GP->setObjectName(QStringLiteral("GP"));
    auto* field = new QGridLayout(GP);
    field->setContentsMargins(8, 6, 8, 6);
    Label1 = new QLabel(QStringLiteral("МЕХАНИК"), GP);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new widgets::UpperEdit(GP);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(60);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(11);
    Edit1->setFont(font);
    field->addWidget(Label1, 0, 0);
    field->addWidget(Edit1, 0, 1);
    buildRate(field);
    app::ownerOnly(EditRate);
    layout->addWidget(GP);

    Grid_meh = new widgets::StringGrid(this);
    Grid_meh->setObjectName(QStringLiteral("Grid_meh"));
    Grid_meh->setColCount(2);
    Grid_meh->setColWidth(0, 2);
    Grid_meh->setColWidth(1, 336);
    Grid_meh->setTitleColor(QColor(widgets::kTitleYellow));
    Grid_meh->setTitles({QStringLiteral("ID"), QStringLiteral("МЕХАНИКИ")});
    layout->addWidget(Grid_meh, 1);

    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(358, 434);
    setEntryControls({this, Grid_meh, GP, ToolButton8, Edit1});
    startBrowsing();

    connect(Grid_meh, &widgets::StringGrid::rowClicked, this, &TMH::Grid_mehClick);
    connect(Grid_meh, &widgets::StringGrid::keyDown, this, &TMH::Grid_mehKeyDown);
    connect(Edit1, &QLineEdit::textChanged, this, &TMH::Edit1Change);
    connect(Edit1, &widgets::LineEdit::enterPressed, this, [this] { Edit1KeyPress(QChar(13)); });
    connect(Edit1, &widgets::LineEdit::escapePressed, this, [this] { Edit1KeyPress(QChar(27)); });
    connect(ToolButton2, &QToolButton::clicked, this, &TMH::ToolButton2Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TMH::ToolButton4Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TMH::ToolButton8Click);
    widgets::addSaveShortcut(this, {ToolButton8});
    connect(ToolButton6, &QToolButton::clicked, this, &TMH::ToolButton6Click);
    connect(ToolButton14, &QToolButton::clicked, this, &TMH::ToolButton14Click);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void TMH::FormActivate() {
    startBrowsing();

    // Cut to one row first: after every reload the first name is current.
    Grid_meh->clearToBlankRow();
    Grid_meh->setTitles({QStringLiteral("ID"), QStringLiteral("МЕХАНИКИ")});
    showRateColumn();
    Edit1->clear();

    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM meh ORDER BY name"));
    q.open();
    const int n = q.recordCount();
    if (n == 0) {
        q.close();
        return;
    }
    const fb::RowSet& rows = q.rows();
    const int cKey = rows.indexOf(QStringLiteral("pk_id")), cName = rows.indexOf(QStringLiteral("name"));
    Grid_meh->beginFill(n + 1);
    for (int r = 0; r < n; ++r) {
        Grid_meh->setCell(0, r + 1, rows.text(r, cKey));
        Grid_meh->setCell(1, r + 1, rows.text(r, cName));
        if (withRate()) Grid_meh->setCell(2, r + 1, app::rateText(storedRate(rows, r)));
    }
    Grid_meh->endFill();
    q.close();
    showCurrentRow();
}

void TMH::Grid_mehClick() {
    const int row = Grid_meh->currentRow();
    if (!Grid_meh->cell(0, row).isEmpty()) showCurrentRow();
}

void TMH::Grid_mehKeyDown() { Grid_mehClick(); }

void TMH::showCurrentRow() {
    Edit1->setText(Grid_meh->cell(1, Grid_meh->currentRow()));
    EditRate->setText(withRate() ? Grid_meh->cell(2, Grid_meh->currentRow()) : QString());
}

void TMH::Edit1Change() { noteChange(); }

void TMH::Edit1KeyPress(QChar key) {
    // Enter saves whether or not the save button is enabled; the focus stays.
    if (key == QChar(13) && !Edit1->text().isEmpty() && pending()) ToolButton8Click();
    if (key == QChar(27)) leaveMode();
}

void TMH::ToolButton2Click() { beginAdding(); }
void TMH::ToolButton4Click() { beginEditing(); }
void TMH::ToolButton8Click() { saveMode(); }
void TMH::ToolButton6Click() { deleteCurrent(); }

void TMH::clearFields() {  // a change when Edit1 held a name
    Edit1->clear();
    EditRate->clear();
}

void TMH::insertRow() {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, withRate() ? QStringLiteral("INSERT INTO meh (name, rate) VALUES (:name, :rate)")
                              : QStringLiteral("INSERT INTO meh (name) VALUES (:name)"));
    bindRate(q);
    q.setString(QStringLiteral("name"), Edit1->text());
    DM->execCommit(q);
}

void TMH::keepShownRow() {
    QStringList shown{Grid_meh->cell(1, Grid_meh->currentRow())};
    if (withRate()) shown << Grid_meh->cell(2, Grid_meh->currentRow());
    editedFrom_ = {currentKey(), shown};
}

void TMH::updateRow() {
    const QString key = currentKey();
    fb::Query& q = DM->iSQL;
    TDM::reset(q, withRate() ? QStringLiteral("UPDATE meh SET name = :name, rate = :rate WHERE pk_id = :pk_id")
                              : QStringLiteral("UPDATE meh SET name = :name WHERE pk_id = :pk_id"));
    bindRate(q);  // a refused share before anything else
    // Written only over the name (and share) the list showed when Edit began.
    fb::WriteUnit unit(DM->IBTrans);
    const bool rate = withRate();
    try {
        app::requireUnchanged(
            QStringLiteral("SELECT name%1 FROM meh WHERE pk_id = :pk_id WITH LOCK").arg(rateColumns()), key, editedFrom_,
            [rate](const fb::Query& row) {
                QStringList texts{row.field(QStringLiteral("name")).asString()};
                if (rate) texts << app::rateText(storedRate(row.field(QStringLiteral("rate"))));
                return texts;
            },
            rate ? QStringList{Label1->text(), Label2->text()} : QStringList{Label1->text()}, [this] { FormActivate(); });
    } catch (const app::RowChanged& changed) {
        // The list shows the stored row (Esc brings it back); saving again writes the input.
        editedFrom_ = {key, changed.stored()};
        Grid_meh->setCell(1, Grid_meh->currentRow(), changed.stored().value(0));
        if (rate) Grid_meh->setCell(2, Grid_meh->currentRow(), changed.stored().value(1));
        throw;
    }
    q.setString(QStringLiteral("name"), Edit1->text());
    q.setString(QStringLiteral("pk_id"), key);
    DM->execCommit(q);
    app::requireTouched(q, [this] { FormActivate(); });
    unit.commit();
}

void TMH::deleteRow() {
    app::deleteByKey(QStringLiteral("DELETE FROM meh WHERE pk_id = :pk_id"), currentKey(), [this] { FormActivate(); });
}

void TMH::ToolButton14Click() { close(); }

void TMH::keyPressEvent(QKeyEvent* event) {
    if (!takeEscape(event)) QDialog::keyPressEvent(event);
}
