#include "contracts/LinePicker.h"

#include "app/DM.h"
#include "app/Lookup.h"
#include "app/SpareArticles.h"
#include "contracts/CF.h"
#include "rtl/Convert.h"
#include "rtl/Money.h"
#include "rtl/Marker.h"
#include "widgets/Activation.h"
#include "widgets/Focus.h"
#include "widgets/Icons.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

void appendWork(const QString& name, const QString&, const QString& price, const QString&, const QString&) {
    CF->AppendWork(name, price);
}

void appendSpare(const QString& name, const QString& quantity, const QString& price, const QString& art,
                 const QString& maker) {
    CF->AppendSpare(name, quantity, price, art, maker);
}

// The spare picker's columns with the article and maker: the name gives
// them its room, so that the window keeps its size.
constexpr int kArticleWidth = 150, kMakerWidth = 142;

LinePicker::HandOverWatch& handOverWatch() {
    static LinePicker::HandOverWatch watch;
    return watch;
}

}  // namespace

// clang-format off
const LinePickerKind kWorkPicker = {
    "CF3", "Выбор вида работ", /*sizeable*/ true, 960, 483,
    "НАИМЕНОВАНИЕ РАБОТЫ", /*hasQuantity*/ false,
    "Grid_work", "Наименование работ", 137,
    "work_id", "Works", 150, &TDM::iWork_f, &TDM::iWork_Ins, appendWork, nullptr};

const LinePickerKind kSparePicker = {
    "CF4", "Выбор запасных частей, комплектующих, расходных материалов", /*sizeable*/ false, 981, 439,
    "НАИМЕНОВАНИЕ ЗАПЧАСТИ", /*hasQuantity*/ true,
    "Grid_sp", "Наименование запчасти", 168,
    "sp_id", "Spares", 150, &TDM::iSp_f, &TDM::iSP_Ins, appendSpare, &TDM::iSp_fArt};
// clang-format on

LinePicker::LinePicker(const LinePickerKind& kind, QWidget* parent) : QDialog(parent), kind_(kind) {
    setObjectName(QString::fromLatin1(kind.instanceName));
    setWindowTitle(QString::fromUtf8(kind.caption));
    if (kind.sizeable) {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::WindowMaximizeButtonHint);
        resize(kind.width, kind.height);
    } else {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
        setFixedSize(kind.width, kind.height);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    layout->addWidget(buildEntryGroup());
    layout->addWidget(buildCatalogueGroup(), 1);

    key_ = new QLabel(QString::fromLatin1(kind.keyName), this);
    key_->setObjectName(QString::fromLatin1(kind.keyName));
    key_->hide();

    QWidget* last = Edit2 ? Edit2 : Edit1;
    QWidget::setTabOrder(Box1, Edit1);
    if (Edit2) QWidget::setTabOrder(Edit1, Edit2);
    QWidget::setTabOrder(last, BitBtn1);
    QWidget::setTabOrder(BitBtn1, grid_);

    // Esc in a field goes on to the window, which closes; nothing is added.
    Box1->setEscapePropagates(true);
    Edit1->setEscapePropagates(true);
    if (Edit2) Edit2->setEscapePropagates(true);

    // Handlers.
    connect(Box1, &widgets::UpperCombo::userChanged, this, &LinePicker::Box1Change);
    connect(Box1, &widgets::UpperCombo::enterPressed, this, [this] { Box1KeyPress(Box1); });
    if (Edit2) {
        connect(Edit1, &widgets::UpperEdit::enterPressed, this, [this] { Box1KeyPress(Edit1); });
        connect(Edit2, &widgets::UpperEdit::enterPressed, this, &LinePicker::LastFieldKeyPress);
    } else {
        connect(Edit1, &widgets::UpperEdit::enterPressed, this, &LinePicker::LastFieldKeyPress);
    }
    connect(grid_, &widgets::StringGrid::enterPressed, this, [this] { GridKeyPress(Qt::Key_Return); });
    connect(grid_, &widgets::StringGrid::escapePressed, this, [this] { GridKeyPress(Qt::Key_Escape); });
    connect(grid_, &widgets::StringGrid::rowDoubleClicked, this, &LinePicker::GridDblClick);
    connect(BitBtn1, &QPushButton::clicked, this, &LinePicker::BitBtn1Click);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void LinePicker::watchHandOver(HandOverWatch watch) { handOverWatch() = std::move(watch); }

// The upper group: the input fields and the confirm button.
QGroupBox* LinePicker::buildEntryGroup() {
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* fields = new QGridLayout(GroupBox1);
    fields->setContentsMargins(10, 6, 10, 8);
    fields->setHorizontalSpacing(12);
    fields->setVerticalSpacing(3);
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), GroupBox1);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    Label1 = label("Label1", kind_.nameLabel);
    Label3 = label("Label3", "СТОИМОСТЬ");
    Box1 = new widgets::UpperCombo(GroupBox1);
    Box1->setObjectName(QStringLiteral("Box1"));
    Box1->setMaxLength(kind_.nameLength);
    Edit1 = new widgets::UpperEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(130);
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Box1, 1, 0);
    fields->addWidget(Label3, 0, 1);
    fields->addWidget(Edit1, 1, 1);
    int col = 2;
    if (kind_.hasQuantity) {
        Label2 = label("Label2", "КОЛИЧЕСТВО");
        Edit2 = new widgets::UpperEdit(GroupBox1);
        Edit2->setObjectName(QStringLiteral("Edit2"));
        Edit2->setFixedWidth(110);
        fields->addWidget(Label2, 0, col);
        fields->addWidget(Edit2, 1, col);
        ++col;
    }
    BitBtn1 = new QPushButton(GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(widgets::icon(widgets::Glyph::Ok));
    BitBtn1->setIconSize(QSize(28, 28));
    BitBtn1->setFixedSize(56, 44);
    BitBtn1->setToolTip(QStringLiteral("Добавить в договор"));
    fields->addWidget(BitBtn1, 0, col, 2, 1, Qt::AlignVCenter);
    fields->setColumnStretch(0, 1);
    return GroupBox1;
}

// The lower group: the catalogue.
QGroupBox* LinePicker::buildCatalogueGroup() {
    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* lower = new QVBoxLayout(GroupBox2);
    lower->setContentsMargins(4, 4, 4, 4);
    grid_ = new widgets::StringGrid(GroupBox2);
    grid_->setObjectName(QString::fromLatin1(kind_.gridName));
    grid_->setColCount(3);
    grid_->setColWidth(0, 2);
    grid_->setColWidth(1, 792);
    grid_->setColWidth(2, kind_.priceWidth);
    grid_->setTitles(titles());
    grid_->setTitleColor(QColor(255, 255, 179));
    grid_->setFont(QFont(QStringLiteral("Times New Roman")));
    grid_->setDefaultRowHeight(22);
    grid_->clearToBlankRow();
    lower->addWidget(grid_);
    return GroupBox2;
}

QStringList LinePicker::titles() const {
    QStringList list{QStringLiteral("ID"), QString::fromUtf8(kind_.nameTitle), QStringLiteral("Стоимость")};
    if (articles()) list << QStringLiteral("Артикул") << QStringLiteral("Производитель");
    return list;
}

bool LinePicker::articles() const { return kind_.articleFilter && app::hasSpareArticles(); }

void LinePicker::setColumns(bool articles) {
    const int cols = articles ? 5 : 3;
    if (grid_->colCount() == cols) return;
    grid_->setColCount(cols);
    grid_->setColWidth(0, 2);
    grid_->setColWidth(1, articles ? 792 - kArticleWidth - kMakerWidth : 792);
    grid_->setColWidth(2, kind_.priceWidth);
    if (articles) {
        grid_->setColWidth(3, kArticleWidth);
        grid_->setColWidth(4, kMakerWidth);
    }
    grid_->setTitles(titles());
}

void LinePicker::forgetArticle() {
    art_.clear();
    maker_.clear();
}

void LinePicker::FormActivate() {
    grid_->setTitles(titles());
    forgetArticle();
    Box1->setText(QString());
    Edit1->setText(QString());
    if (Edit2) Edit2->setText(QString());
    FillList();
    Box1->setFocus();
}

void LinePicker::FillList() {
    const bool withArticles = articles();
    setColumns(withArticles);
    fb::Query& q = DM->*(withArticles ? kind_.articleFilter : kind_.filter);
    q.close();
    // The pattern may not be longer than the column; a name of full length
    // can only match itself. The same text is looked for as an article's beginning.
    const QString name = Box1->text();
    app::bindPrefix(q, QStringLiteral("name"), name, kind_.nameLength);
    if (withArticles) {
        if (name.size() > app::kArticleLength)
            q.setNull(QStringLiteral("art"));  // longer than any article: the name alone
        else
            app::bindPrefix(q, QStringLiteral("art"), name, app::kArticleLength);
    }
    q.open();
    const int n = q.recordCount();
    if (n == 0) {
        grid_->clearToBlankRow();
        key_->setText(QStringLiteral("*"));
        forgetArticle();
        q.close();
        return;
    }
    const fb::RowSet& rows = q.rows();
    const int cKey = rows.indexOf(QStringLiteral("pk_id")), cName = rows.indexOf(QStringLiteral("name")),
              cPrice = rows.indexOf(QStringLiteral("price"));
    const int cArt = withArticles ? rows.indexOf(QStringLiteral("art")) : -1,
              cMaker = withArticles ? rows.indexOf(QStringLiteral("maker")) : -1;
    grid_->beginFill(n + 1);
    for (int r = 0; r < n; ++r) {
        grid_->setCell(0, r + 1, QString::number(rows.integer(r, cKey)));
        grid_->setCell(1, r + 1, rows.text(r, cName));
        grid_->setCell(2, r + 1, rows.text(r, cPrice));
        if (withArticles) {
            grid_->setCell(3, r + 1, rows.text(r, cArt));
            grid_->setCell(4, r + 1, rows.text(r, cMaker));
        }
    }
    grid_->endFill();
    q.close();
}

// A name typed after a row was taken is no longer that part's.
void LinePicker::Box1Change() {
    forgetArticle();
    FillList();
}

void LinePicker::Box1KeyPress(QWidget* field) { widgets::focusNext(field); }

void LinePicker::LastFieldKeyPress() { BitBtn1->click(); }

void LinePicker::GridKeyPress(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        GridDblClick();
    else if (key == Qt::Key_Escape)
        reject();
}

void LinePicker::GridDblClick() {
    if (!grid_->cell(0, grid_->currentRow()).isEmpty()) PickRow();
}

void LinePicker::PickRow() {
    const int row = grid_->currentRow();
    Box1->setText(grid_->cell(1, row));
    Edit1->setText(grid_->cell(2, row));
    key_->setText(grid_->cell(0, row));
    art_ = grid_->colCount() > 4 ? grid_->cell(3, row) : QString();
    maker_ = grid_->colCount() > 4 ? grid_->cell(4, row) : QString();
    Edit1->setFocus();
}

void LinePicker::BitBtn1Click() { AddLine(); }

void LinePicker::AddLine() {
    if (Box1->text().isEmpty() || Edit1->text().isEmpty() || (Edit2 && Edit2->text().isEmpty())) return;
    checkAmount();
    if (key_->text() == QStringLiteral("*")) AddToCatalogue();
    const QString name = Box1->text(), price = Edit1->text(), quantity = Edit2 ? Edit2->text() : QString();
    kind_.append(name, quantity, price, art_, maker_);  // the editor's Append... enables its save
    if (handOverWatch()) handOverWatch()(name, quantity, price);
    accept();
}

// A price, or a line sum, that the contract's fixed-point amounts cannot hold
// is refused before the line is taken. Texts that are no numbers are left to
// the save, which names them.
void LinePicker::checkAmount() const {
    double price = 0;
    qint64 quantity = 1;
    try {
        price = rtl::StrToFloat(Edit1->text());
        if (Edit2) quantity = rtl::StrToInt64(Edit2->text());
    } catch (const rtl::ConvertError&) {
        return;
    }
    rtl::StrToPrice(Edit1->text());
    rtl::Money::times(price, quantity);
}

void LinePicker::AddToCatalogue() {
    const double price = rtl::StrToPrice(Edit1->text());  // a price that is no number stops here
    fb::Query& ins = DM->*kind_.insert;
    ins.close();
    ins.setString(QStringLiteral("name"), Box1->text());
    ins.setFloat(QStringLiteral("price"), price);
    const QString marker = rtl::SysInfoMarker();
    ins.setString(QStringLiteral("sysinfo"), marker);
    DM->execCommit(ins);
    ins.close();
    key_->setText(QString::number(app::readBackKey(QString::fromLatin1(kind_.table), marker)));
}
