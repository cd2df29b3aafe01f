#include "catalogues/PricedCatalogue.h"

#include "app/RowGone.h"
#include "app/DM.h"
#include "app/LoginRights.h"
#include "app/FetchedRows.h"
#include "app/SpareArticles.h"
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
    auto* rows = new QVBoxLayout(GP);
    rows->setContentsMargins(8, 6, 8, 6);
    rows->setSpacing(4);
    auto* fields = new QHBoxLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    rows->addLayout(fields);
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

void PricedCatalogue::addArticleFields(fb::Query TDM::*insert, fb::Query TDM::*update) {
    insertArt_ = insert;
    updateArt_ = update;
    articleRow_ = new QWidget(GP);
    articleRow_->setObjectName(QStringLiteral("ArticleRow"));
    auto* line = new QHBoxLayout(articleRow_);
    line->setContentsMargins(0, 0, 0, 0);
    auto field = [this, line](QLabel*& label, widgets::UpperEdit*& edit, const char* name, const char* caption,
                              int length, int width) {
        label = new QLabel(QString::fromUtf8(caption), articleRow_);
        label->setObjectName(QStringLiteral("Label") + QLatin1String(name));
        edit = new widgets::UpperEdit(articleRow_);
        edit->setObjectName(QStringLiteral("Edit") + QLatin1String(name));
        edit->setMaxLength(length);
        edit->setFixedWidth(width);
        line->addWidget(label);
        line->addWidget(edit);
        connect(edit, &QLineEdit::textChanged, this, &PricedCatalogue::Box1Change);
        connect(edit, &widgets::LineEdit::enterPressed, this, [this, edit] { Box1KeyPress(edit, QChar(13)); });
        connect(edit, &widgets::LineEdit::escapePressed, this, [this, edit] { Box1KeyPress(edit, QChar(27)); });
    };
    field(LabelArt, EditArt, "Art", "АРТИКУЛ", app::kArticleLength, 260);
    line->addSpacing(12);
    field(LabelMaker, EditMaker, "Maker", "ПРОИЗВОДИТЕЛЬ", app::kMakerLength, 360);
    line->addStretch(1);
    static_cast<QVBoxLayout*>(GP->layout())->addWidget(articleRow_);
    QWidget::setTabOrder(Edit1, EditArt);
    QWidget::setTabOrder(EditArt, EditMaker);
    QWidget::setTabOrder(EditMaker, list_);
}

bool PricedCatalogue::articles() const { return articleRow_ && app::hasSpareArticles(); }

void PricedCatalogue::setListColumns(bool articles) {
    const int cols = articles ? 5 : 3;
    if (list_->colCount() == cols) return;
    list_->setColCount(cols);
    list_->setColWidth(0, config_.widths[0]);
    list_->setColWidth(1, articles ? config_.widths[1] - 300 : config_.widths[1]);
    list_->setColWidth(2, config_.widths[2]);
    if (articles) {
        list_->setColWidth(3, 150);
        list_->setColWidth(4, 150);
    }
}

QStringList PricedCatalogue::rowTexts(const fb::Query& q) const {
    const fb::Field price = q.field(QStringLiteral("price"));
    QStringList texts{q.field(QStringLiteral("name")).asString(), priceText(price.isNull(), price.asFloat())};
    if (articles()) texts << q.field(QStringLiteral("art")).asString() << q.field(QStringLiteral("maker")).asString();
    return texts;
}

QStringList PricedCatalogue::captions() const {
    QStringList list{QString::fromUtf8(config_.nameLabel), Label3->text()};
    if (articles()) list << LabelArt->text() << LabelMaker->text();
    return list;
}

void PricedCatalogue::FormActivate() {
    startBrowsing();

    const bool withArticles = articles();
    if (articleRow_) articleRow_->setVisible(withArticles);
    fb::Query& q = DM->*config_.list;
    q.close();
    enum { Key, Name, Price, Art, Maker };
    QStringList columns{QStringLiteral("pk_id"), QStringLiteral("name"), QStringLiteral("price")};
    QStringList titles{QStringLiteral("ID"), QString::fromUtf8(config_.nameTitle), QStringLiteral("Стоимость")};
    if (withArticles) {
        columns << QStringLiteral("art") << QStringLiteral("maker");
        titles << QStringLiteral("Артикул") << QStringLiteral("Производитель");
    }
    q.open(columns);
    const int n = q.recordCount();
    setListColumns(withArticles);
    list_->setTitles(titles);
    list_->fill(std::make_shared<app::FetchedRows>(q.takeRows(), [](const fb::RowSet& rs, int col, int r) {
        switch (col) {
        case 0: return rs.text(r, Key);
        case 1: return kPad + rs.text(r, Name);
        case 2: return kPad + priceText(rs.isNull(r, Price), rs.number(r, Price));
        case 3: return kPad + rs.text(r, Art);
        case 4: return kPad + rs.text(r, Maker);
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
        if (articles()) {
            EditArt->setText(shown_.texts[2]);
            EditMaker->setText(shown_.texts[3]);
        }
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
    if (articleRow_) {
        EditArt->clear();
        EditMaker->clear();
    }
}

void PricedCatalogue::InsertRecord() {
    const bool withArticles = articles();
    fb::Query& q = DM->*(withArticles ? insertArt_ : config_.insert);
    q.close();
    q.setString(QStringLiteral("name"), Box1->text());
    q.setFloat(QStringLiteral("price"), rtl::StrToPrice(Edit1->text()));
    q.setNull(QStringLiteral("sysinfo"));
    if (withArticles) app::bindArticle(q, EditArt->text(), EditMaker->text());
    DM->execCommit(q);
    q.close();
}

void PricedCatalogue::UpdateRecord() {
    const QString key = currentKey();
    const bool withArticles = articles();
    fb::Query& q = DM->*(withArticles ? updateArt_ : config_.update);
    q.close();
    q.setInteger(QStringLiteral("pk_id"), rtl::StrToInt(key));
    q.setString(QStringLiteral("name"), Box1->text());
    q.setFloat(QStringLiteral("price"), rtl::StrToPrice(Edit1->text()));
    if (withArticles) app::bindArticle(q, EditArt->text(), EditMaker->text());
    // Written only over the row the fields showed when Edit began.
    fb::WriteUnit unit(DM->IBTrans);
    try {
        app::requireUnchanged(QString::fromLatin1(config_.reread) + QStringLiteral(" WITH LOCK"), key, editedFrom_,
                              [this](const fb::Query& row) { return rowTexts(row); }, captions(),
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
