#include "catalogues/PricedCatalogue.h"

#include "app/RowGone.h"
#include "app/DM.h"
#include "app/LoginRights.h"
#include "app/FetchedRows.h"
#include "rtl/Convert.h"
#include "rtl/Money.h"
#include "widgets/Activation.h"
#include "widgets/Focus.h"
#include "widgets/SaveShortcut.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolBar.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kPad = QStringLiteral("  ");

// A price in the general number format; a row without price shows nothing.
QString priceText(bool isNull, double value) { return isNull ? QString() : rtl::FloatToStr(value); }

// Name and price of a row as the fields show them.
QStringList rowTexts(const fb::Query& q) {
    const fb::Field price = q.field(QStringLiteral("price"));
    return {q.field(QStringLiteral("name")).asString(), priceText(price.isNull(), price.asFloat())};
}
}  // namespace

PricedCatalogue::PricedCatalogue(const PricedCatalogueConfig& config, QWidget* parent)
    : QDialog(parent), config_(config) {
    setObjectName(QString::fromLatin1(config.objectName));
    setWindowTitle(QString::fromUtf8(config.caption));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->setSpacing(4);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(32, 32));
    using widgets::Glyph;
    ToolButton2 = widgets::addToolButton(ToolBar1, "ToolButton2", Glyph::NewDocument, "Регистрация документа");
    ToolButton4 = widgets::addToolButton(ToolBar1, "ToolButton4", Glyph::EditDocument, "Редактирование документа");
    widgets::addGap(ToolBar1);
    ToolButton8 = widgets::addToolButton(ToolBar1, "ToolButton8", Glyph::Save, config.saveHint);
    widgets::addGap(ToolBar1);
    delete_ = widgets::addToolButton(ToolBar1, config.deleteName, Glyph::Delete, nullptr);
    // A clerk adds rows but neither deletes one nor changes a price.
    app::ownerOnly(delete_);
    app::ownerOnly(ToolButton4);
    widgets::addRightSpacer(ToolBar1);
    ToolButton14 = widgets::addToolButton(ToolBar1, "ToolButton14", Glyph::Exit, nullptr);
    layout->addWidget(ToolBar1);

    GP = new QGroupBox(this);
    GP->setObjectName(QStringLiteral("GP"));
    auto* fields = new QHBoxLayout(GP);
    fields->setContentsMargins(8, 6, 8, 6);
    Label1 = new QLabel(QString::fromUtf8(config.nameLabel), GP);
    Label1->setObjectName(QStringLiteral("Label1"));
    Box1 = new widgets::UpperCombo(GP);
    Box1->setObjectName(QStringLiteral("Box1"));
    Box1->setMaxLength(150);
    Label3 = new QLabel(QStringLiteral("СТОИМОСТЬ"), GP);
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit1 = new widgets::UpperEdit(GP);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(140);
    fields->addWidget(Label1);
    fields->addWidget(Box1, 1);
    fields->addSpacing(12);
    fields->addWidget(Label3);
    fields->addWidget(Edit1);
    layout->addWidget(GP);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* listBox = new QVBoxLayout(GroupBox1);
    listBox->setContentsMargins(4, 4, 4, 4);
    list_ = new widgets::StringGrid(GroupBox1);
    list_->setObjectName(QString::fromLatin1(config.gridName));
    list_->setColCount(3);
    for (int c = 0; c < 3; ++c) list_->setColWidth(c, config.widths[c]);
    list_->setTitles({QStringLiteral("ID"), QString::fromUtf8(config.nameTitle), QStringLiteral("Стоимость")});
    listBox->addWidget(list_);
    layout->addWidget(GroupBox1, 1);

    QWidget::setTabOrder(Box1, Edit1);
    QWidget::setTabOrder(Edit1, list_);

    if (config.resizable) {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                       Qt::WindowCloseButtonHint);
        resize(1070, 519);
    } else {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
        setFixedSize(1070, 519);
    }
    setEntryControls({this, list_, GP, ToolButton8, Box1});
    startBrowsing();

    connect(ToolButton2, &QToolButton::clicked, this, &PricedCatalogue::ToolButton2Click);
    connect(ToolButton4, &QToolButton::clicked, this, &PricedCatalogue::ToolButton4Click);
    connect(ToolButton8, &QToolButton::clicked, this, &PricedCatalogue::ToolButton8Click);
    widgets::addSaveShortcut(this, {ToolButton8});
    connect(ToolButton14, &QToolButton::clicked, this, &PricedCatalogue::ToolButton14Click);
    // The name counts when the user edits it, the price on every change.
    connect(Box1, &widgets::UpperCombo::userChanged, this, &PricedCatalogue::Box1Change);
    connect(Edit1, &QLineEdit::textChanged, this, &PricedCatalogue::Box1Change);
    connect(Box1, &widgets::UpperCombo::enterPressed, this, [this] { Box1KeyPress(Box1, QChar(13)); });
    connect(Box1, &widgets::UpperCombo::escapePressed, this, [this] { Box1KeyPress(Box1, QChar(27)); });
    connect(Edit1, &widgets::LineEdit::enterPressed, this, [this] { Box1KeyPress(Edit1, QChar(13)); });
    connect(Edit1, &widgets::LineEdit::escapePressed, this, [this] { Box1KeyPress(Edit1, QChar(27)); });

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void PricedCatalogue::FormActivate() {
    startBrowsing();

    fb::Query& q = DM->*config_.list;
    q.close();
    enum { Key, Name, Price };
    q.open({QStringLiteral("pk_id"), QStringLiteral("name"), QStringLiteral("price")});
    const int n = q.recordCount();
    list_->setTitles({QStringLiteral("ID"), QString::fromUtf8(config_.nameTitle), QStringLiteral("Стоимость")});
    list_->fill(std::make_shared<app::FetchedRows>(q.takeRows(), [](const fb::RowSet& rs, int col, int r) {
        switch (col) {
        case 0: return rs.text(r, Key);
        case 1: return kPad + rs.text(r, Name);
        case 2: return kPad + priceText(rs.isNull(r, Price), rs.number(r, Price));
        default: return QString();
        }
    }));
    if (n > 0) LoadCurrentRow();
}

void PricedCatalogue::LoadCurrentRow() {
    const QString key = currentKey();
    if (key.isEmpty()) return;  // the blank row of an empty catalogue
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QString::fromLatin1(config_.reread));
    q.setString(QStringLiteral("pk_id"), key);
    q.open();
    shown_ = {};
    if (!q.eof()) {
        shown_ = {key, rowTexts(q)};
        Box1->setText(shown_.texts[0]);
        Edit1->setText(shown_.texts[1]);
    }
    q.close();
}

void PricedCatalogue::GridClick() {
    if (!currentKey().isEmpty()) LoadCurrentRow();
}

void PricedCatalogue::GridKeyDown() { GridClick(); }

void PricedCatalogue::ToolButton2Click() { beginAdding(); }
void PricedCatalogue::ToolButton4Click() { beginEditing(); }
void PricedCatalogue::ToolButton8Click() { saveMode(); }
void PricedCatalogue::Box1Change() { noteChange(); }
void PricedCatalogue::DeleteClick() { deleteCurrent(); }

void PricedCatalogue::Box1KeyPress(QWidget* field, QChar key) {
    if (key == QChar(13)) widgets::focusNext(field);
    if (key == QChar(27)) leaveMode();
}

void PricedCatalogue::clearFields() {
    Box1->clearText();
    Edit1->clear();  // counts as a change when the price field held text
}

void PricedCatalogue::InsertRecord() {
    fb::Query& q = DM->*config_.insert;
    q.close();
    q.setString(QStringLiteral("name"), Box1->text());
    q.setFloat(QStringLiteral("price"), rtl::StrToPrice(Edit1->text()));
    q.setNull(QStringLiteral("sysinfo"));
    DM->execCommit(q);
    q.close();
}

void PricedCatalogue::UpdateRecord() {
    const QString key = currentKey();
    fb::Query& q = DM->*config_.update;
    q.close();
    q.setInteger(QStringLiteral("pk_id"), rtl::StrToInt(key));
    q.setString(QStringLiteral("name"), Box1->text());
    q.setFloat(QStringLiteral("price"), rtl::StrToPrice(Edit1->text()));
    // Written only over the row the fields showed when Edit began.
    fb::WriteUnit unit(DM->IBTrans);
    try {
        app::requireUnchanged(QString::fromLatin1(config_.reread) + QStringLiteral(" WITH LOCK"), key, editedFrom_,
                              rowTexts, {QString::fromUtf8(config_.nameLabel), Label3->text()},
                              [this] { FormActivate(); });
    } catch (const app::RowChanged& changed) {
        editedFrom_ = {key, changed.stored()};  // seen now: saving again writes the input
        throw;
    }
    DM->execCommit(q);
    app::requireTouched(q, [this] { FormActivate(); });
    unit.commit();
    q.close();
}

void PricedCatalogue::deleteRow() {
    app::deleteByKey(QString::fromLatin1(config_.remove), currentKey(), [this] { FormActivate(); });
}

void PricedCatalogue::ToolButton14Click() { close(); }

void PricedCatalogue::keyPressEvent(QKeyEvent* event) {
    if (!takeEscape(event)) QDialog::keyPressEvent(event);
}
