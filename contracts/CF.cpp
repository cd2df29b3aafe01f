#include "contracts/CF.h"

#include "app/DM.h"
#include "app/RowGone.h"
#include "app/Lookup.h"
#include "app/WindowFlow.h"
#include "cars/CF2.h"
#include "cars/CarFields.h"
#include "cars/HS.h"
#include "contracts/CF3.h"
#include "contracts/CF4.h"
#include "contracts/ContractLines.h"
#include "contracts/MF.h"
#include "rtl/Convert.h"
#include "rtl/Marker.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/Focus.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/SaveShortcut.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolBar.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

TCF* CF = nullptr;

namespace {

// Column lengths of Contracts and Cars; an INTEGER column takes at most 11
// characters ("-2147483648").
constexpr int kIntegerLength = 11;
constexpr int kMehLength = 60;
constexpr int kRemLength = 1000;

QFont fieldFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    return font;
}

// Enter in the remark does not break the line; it hands the focus on.
class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), onEnter_(std::move(onEnter)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && widgets::isEnterKey(static_cast<QKeyEvent*>(event))) {
            onEnter_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onEnter_;
};

// A memo has no length limit of its own: text past `limit` is cut off at the
// place where it was typed or pasted.
void limitLength(QPlainTextEdit* memo, int limit) {
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, limit] {
        const qsizetype excess = memo->toPlainText().size() - limit;
        if (excess <= 0) return;
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, int(excess));
        cursor.removeSelectedText();
        if (memo->toPlainText().size() > limit) {  // the cursor stood too far to the left
            cursor.movePosition(QTextCursor::End);
            cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor,
                                int(memo->toPlainText().size() - limit));
            cursor.removeSelectedText();
        }
    });
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

TCF::TCF(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("CF"));
    setWindowTitle(QStringLiteral("Договор"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1067, 615);

    Car_id = new widgets::KeyLabel(QStringLiteral("*"), this);
    Car_id->setObjectName(QStringLiteral("Car_id"));
    Car_id->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(2);
    buildToolBar();
    layout->addWidget(ToolBar1);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    body->setSpacing(4);
    buildHeader();
    buildCar();
    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(GP1);
    top->addWidget(GP2, 1);
    GP1->setFixedWidth(432);
    body->addLayout(top);
    buildLines();
    body->addWidget(GP3, 1);
    body->addWidget(GP4, 1);
    layout->addLayout(body, 1);

    setNamesAndTabOrder();

    // Disabled fields (the car, and everything in view mode) stay readable.
    for (QGroupBox* g : {GP1, GP2, GP3, GP4}) {
        QPalette p = g->palette();
        p.setColor(QPalette::Disabled, QPalette::Text, QColor(40, 40, 40));
        p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(60, 60, 60));
        g->setPalette(p);
    }

    // Handlers.
    connect(MaskEdit1, &widgets::DateEdit::userChanged, this, &TCF::MaskEdit1Change);
    connect(Box0, &widgets::UpperCombo::userChanged, this, &TCF::MaskEdit1Change);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TCF::MaskEdit1Change);
    connect(MaskEdit1, &widgets::LineEdit::enterPressed, this, [this] { MaskEdit1KeyPress(MaskEdit1); });
    connect(Edit0, &widgets::LineEdit::enterPressed, this, [this] { MaskEdit1KeyPress(Edit0); });
    connect(Edit1, &widgets::LineEdit::enterPressed, this, [this] { MaskEdit1KeyPress(Edit1); });
    for (widgets::UpperCombo* box : {Box0, Box1, Box2, Box3, Box4, Box5, Box6, Box7, Box8, Box81, Box9, Box91, Box10,
                                     Box11})
        connect(box, &widgets::UpperCombo::enterPressed, this, [this, box] { MaskEdit1KeyPress(box); });
    Memo1->installEventFilter(new EnterFilter(Memo1, [this] { Memo1KeyPress(); }));
    connect(BitBtn1, &QPushButton::clicked, this, &TCF::BitBtn1Click);
    connect(BitBtn9, &QPushButton::clicked, this, &TCF::BitBtn9Click);
    connect(Car_id, &widgets::KeyLabel::textChanged, BitBtn9,
            [this](const QString& key) { BitBtn9->setEnabled(key != QStringLiteral("*")); });
    connect(BitBtn3, &QPushButton::clicked, this, &TCF::BitBtn3Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TCF::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TCF::BitBtn6Click);
    connect(BitBtn8, &QPushButton::clicked, this, &TCF::BitBtn8Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TCF::ToolButton4Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TCF::ToolButton8Click);
    connect(ToolButton6, &QToolButton::clicked, this, &TCF::ToolButton6Click);
    connect(ToolButton14, &QToolButton::clicked, this, &TCF::ToolButton14Click);
    widgets::addSaveShortcut(this, {ToolButton8});

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

// ---- Building the window ---------------------------------------------------------

void TCF::buildToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolButton4 = widgets::addToolButton(ToolBar1, "ToolButton4", widgets::Glyph::EditDocument, "Редактирование документа");
    ToolButton8 = widgets::addToolButton(ToolBar1, "ToolButton8", widgets::Glyph::Save, "Сохранение изменений");
    ToolBar1->addSeparator();
    ToolButton6 = widgets::addToolButton(ToolBar1, "ToolButton6", widgets::Glyph::Print, "Печать карточки документа");
    widgets::addRightSpacer(ToolBar1);
    ToolButton14 = widgets::addToolButton(ToolBar1, "ToolButton14", widgets::Glyph::Close, nullptr);
    ToolButton4->setEnabled(false);
}

void TCF::buildHeader() {
    GP1 = new QGroupBox(QStringLiteral("Основные данные"), this);
    GP1->setObjectName(QStringLiteral("GP1"));
    auto* grid = new QGridLayout(GP1);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);

    Label23 = caption(QStringLiteral("№ "), GP1);
    Label1 = caption(QStringLiteral("Дата"), GP1);
    Label2 = caption(QStringLiteral("Механик"), GP1);
    Label3 = caption(QStringLiteral("Примечания"), GP1);
    Label3->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Edit0 = new widgets::UpperEdit(GP1);
    Edit0->setEnabled(false);
    Edit0->setFocusPolicy(Qt::NoFocus);
    Edit0->setMaxLength(kIntegerLength);
    Edit0->setFixedWidth(70);
    MaskEdit1 = new widgets::DateEdit(GP1);
    MaskEdit1->setMaxLength(10);
    MaskEdit1->setFixedWidth(92);
    Box0 = new widgets::UpperCombo(GP1);
    Box0->setMaxLength(kMehLength);
    Memo1 = new QPlainTextEdit(GP1);
    Memo1->setTabChangesFocus(true);
    Memo1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);  // as high as the car group
    limitLength(Memo1, kRemLength);

    Panel1 = new QFrame(GP1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panel = new QGridLayout(Panel1);
    panel->setContentsMargins(6, 2, 6, 2);
    panel->setVerticalSpacing(0);
    auto* totalWord1 = new QLabel(QStringLiteral("Итоговая"), Panel1);
    auto* totalWord2 = new QLabel(QStringLiteral("сумма"), Panel1);
    Label17 = new QLabel(QStringLiteral("0,0"), Panel1);
    QFont big = Label17->font();
    big.setBold(true);
    big.setPixelSize(18);
    Label17->setFont(big);
    Label17->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label17->setMinimumWidth(96);
    panel->addWidget(totalWord1, 0, 0);
    panel->addWidget(totalWord2, 1, 0);
    panel->addWidget(Label17, 2, 0);

    auto* numberAndDate = new QHBoxLayout;
    numberAndDate->setSpacing(6);
    numberAndDate->addWidget(Edit0);
    numberAndDate->addSpacing(4);
    numberAndDate->addWidget(Label1);
    numberAndDate->addWidget(MaskEdit1);
    numberAndDate->addStretch(1);
    grid->addWidget(Label23, 0, 0);
    grid->addLayout(numberAndDate, 0, 1);
    grid->addWidget(Panel1, 0, 2, 2, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Box0, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(Memo1, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    const QFont font = fieldFont();
    for (QWidget* w : std::initializer_list<QWidget*>{Edit0, MaskEdit1, Box0, Memo1}) w->setFont(font);
}

void TCF::buildCar() {
    GP2 = new QGroupBox(QStringLiteral("Данные по машине"), this);
    GP2->setObjectName(QStringLiteral("GP2"));
    auto* grid = new QGridLayout(GP2);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(6);

    struct Field {
        widgets::UpperCombo** box;
        const char* name;
        int length;
    };
    const Field fields[] = {{&Box1, "Box1", 40},  {&Box2, "Box2", 40},   {&Box3, "Box3", 15},
                            {&Box4, "Box4", 5},   {&Box5, "Box5", kIntegerLength},
                            {&Box6, "Box6", 20},  {&Box7, "Box7", 40},   {&Box8, "Box8", 40},
                            {&Box81, "Box81", 60}, {&Box9, "Box9", 40},  {&Box91, "Box91", 60},
                            {&Box10, "Box10", 100}, {&Box11, "Box11", 30}};
    const QFont font = fieldFont();
    auto displayOnly = [&font](QWidget* w, QLineEdit* edit) {
        w->setEnabled(false);
        w->setFocusPolicy(Qt::NoFocus);
        w->setFont(font);
        // A long value shows its beginning, however it was written.
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { edit->setCursorPosition(0); });
    };
    for (const Field& f : fields) {
        auto* box = new widgets::UpperCombo(GP2);
        box->setObjectName(QString::fromLatin1(f.name));
        box->setMaxLength(f.length);
        displayOnly(box, box->lineEdit());
        *f.box = box;
    }
    Edit1 = new widgets::UpperEdit(GP2);
    Edit1->setMaxLength(kIntegerLength);
    displayOnly(Edit1, Edit1);

    // Left half: make and model, number and region, year and mileage, VIN,
    // colour; right half: engine, body, owner, phone and the picker button.
    auto row = [](std::initializer_list<std::pair<QWidget*, int>> parts) {
        auto* line = new QHBoxLayout;
        line->setSpacing(4);
        for (const auto& [w, stretch] : parts) line->addWidget(w, stretch);
        return line;
    };
    BitBtn1 = new QPushButton(QStringLiteral("           Выбрать машину     "), GP2);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(widgets::icon(widgets::Glyph::Car));
    BitBtn1->setIconSize(QSize(24, 24));
    BitBtn1->setLayoutDirection(Qt::RightToLeft);  // the picture to the right of the text
    auto* mileage = caption(QStringLiteral("ПРОБЕГ"), GP2);

    grid->addWidget(caption(QStringLiteral("МАРКА, МОДЕЛЬ"), GP2), 0, 0);
    grid->addLayout(row({{Box1, 1}, {Box2, 1}}), 0, 1);
    grid->addWidget(caption(QStringLiteral("ГОС. НОМЕР"), GP2), 1, 0);
    grid->addLayout(row({{Box3, 3}, {Box4, 1}}), 1, 1);
    grid->addWidget(caption(QStringLiteral("ГОД ВЫПУСКА"), GP2), 2, 0);
    grid->addLayout(row({{Box5, 4}, {mileage, 0}, {Edit1, 5}}), 2, 1);
    grid->addWidget(caption(QStringLiteral("VIN"), GP2), 3, 0);
    grid->addWidget(Box6, 3, 1);
    grid->addWidget(caption(QStringLiteral("ЦВЕТ"), GP2), 4, 0);
    grid->addWidget(Box7, 4, 1);

    grid->addWidget(caption(QStringLiteral("ДВИГАТЕЛЬ"), GP2), 0, 2);
    grid->addLayout(row({{Box8, 1}, {Box81, 1}}), 0, 3);
    grid->addWidget(caption(QStringLiteral("КУЗОВ"), GP2), 1, 2);
    grid->addLayout(row({{Box9, 1}, {Box91, 1}}), 1, 3);
    grid->addWidget(caption(QStringLiteral("ВЛАДЕЛЕЦ"), GP2), 2, 2);
    grid->addWidget(Box10, 2, 3);
    grid->addWidget(caption(QStringLiteral("ТЕЛЕФОН"), GP2), 3, 2);
    grid->addWidget(Box11, 3, 3);
    BitBtn9 = new QPushButton(QStringLiteral("История"), GP2);
    BitBtn9->setObjectName(QStringLiteral("BitBtn9"));
    BitBtn9->setToolTip(QStringLiteral("История обслуживания"));
    BitBtn9->setIcon(widgets::icon(widgets::Glyph::History));
    BitBtn9->setIconSize(QSize(24, 24));
    BitBtn9->setEnabled(false);
    grid->addLayout(row({{BitBtn1, 1}, {BitBtn9, 0}}), 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(2, 84);
}

void TCF::buildLines() {
    auto group = [this](const QString& title, const char* name, widgets::StringGrid*& grid, const char* gridName,
                        QPushButton*& add, const char* addName, QPushButton*& remove, const char* removeName,
                        QLabel*& total, const char* totalName) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(name));
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(6, 4, 6, 6);
        row->setSpacing(8);
        grid = new widgets::StringGrid(box);
        grid->setObjectName(QString::fromLatin1(gridName));
        row->addWidget(grid, 1);
        auto* side = new QVBoxLayout;
        side->setSpacing(6);
        add = new QPushButton(widgets::icon(widgets::Glyph::Add), QStringLiteral("Добавить"), box);
        add->setObjectName(QString::fromLatin1(addName));
        remove = new QPushButton(widgets::icon(widgets::Glyph::Delete), QStringLiteral("Удалить"), box);
        remove->setObjectName(QString::fromLatin1(removeName));
        for (QPushButton* b : {add, remove}) {
            b->setIconSize(QSize(20, 20));
            b->setFixedWidth(128);
        }
        auto* word = new QLabel(QStringLiteral("Итог"), box);
        total = new QLabel(QStringLiteral("0"), box);
        total->setObjectName(QString::fromLatin1(totalName));
        QFont bold = total->font();
        bold.setBold(true);
        total->setFont(bold);
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        total->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        total->setFixedWidth(128);
        side->addWidget(add);
        side->addWidget(remove);
        side->addStretch(1);
        side->addWidget(word);
        side->addWidget(total);
        row->addLayout(side);
        return box;
    };
    GP3 = group(QStringLiteral("Выполненные работы"), "GP3", Grid_work, "Grid_work", BitBtn3, "BitBtn3", BitBtn5,
                "BitBtn5", Label20, "Label20");
    GP4 = group(QStringLiteral("Использованные запчасти"), "GP4", grid_sp, "grid_sp", BitBtn6, "BitBtn6", BitBtn8,
                "BitBtn8", Label21, "Label21");
    contracts::setupWorkGrid(Grid_work);
    contracts::setupSpareGrid(grid_sp);
}

void TCF::setNamesAndTabOrder() {
    const std::pair<QWidget*, const char*> names[] = {
        {Edit0, "Edit0"},   {MaskEdit1, "MaskEdit1"}, {Box0, "Box0"},       {Memo1, "Memo1"},
        {Edit1, "Edit1"},   {Label1, "Label1"},       {Label2, "Label2"},   {Label3, "Label3"},
        {Label17, "Label17"}, {Label23, "Label23"}};
    for (const auto& [w, name] : names) w->setObjectName(QString::fromLatin1(name));
    QWidget* order[] = {MaskEdit1, Box0, Memo1, BitBtn1, Grid_work, BitBtn3, BitBtn5, grid_sp, BitBtn6, BitBtn8};
    for (size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void TCF::setGroupsEnabled(bool on) {
    for (QGroupBox* g : {GP1, GP2, GP3, GP4}) g->setEnabled(on);
}

// ---- Opening ----------------------------------------------------------------------

void TCF::showEvent(QShowEvent* e) {
    // Becoming visible from hidden is a new opening; coming back from a
    // picker or another program is not.
    if (!e->spontaneous()) openingPending_ = true;
    QWidget::showEvent(e);
}

void TCF::FormActivate() {
    if (!openingPending_) return;
    openingPending_ = false;
    DocId = -1;
    const QString key = MF->Grid_doc->cell(0, MF->Grid_doc->currentRow());
    if (MF->NewDoc) {
        ToolButton6->setEnabled(false);
        ToolButton4->setEnabled(false);
        setGroupsEnabled(true);
        ClearDoc();
        previewNumber();
        MaskEdit1->setText(rtl::DateToStr(QDate::currentDate()));
        MaskEdit1->setFocus();
    } else if (MF->EditDoc) {
        ToolButton6->setEnabled(true);
        DocId = rtl::StrToInt(key);
        setGroupsEnabled(true);
        LoadDoc(QString::number(DocId));
        MaskEdit1->setFocus();
    } else {
        ToolButton6->setEnabled(true);
        DocId = rtl::StrToInt(key);
        ToolButton4->setEnabled(true);
        setGroupsEnabled(false);
        LoadDoc(QString::number(DocId));
    }
    ToolButton8->setEnabled(false);
    MF->FillNameCombo(Box0, QStringLiteral("meh"));
}

void TCF::previewNumber() {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("select gen_id(gen_doc_num,0) from RDB$DATABASE"));
    q.open();
    const qint64 current = q.field(0).asInt64();
    q.close();
    Edit0->setText(QString::number(current + 1));
}

void TCF::ClearDoc() {
    for (widgets::UpperCombo* box : {Box0, Box1, Box2, Box3, Box4, Box5, Box6, Box7, Box8, Box81, Box9, Box91, Box10,
                                     Box11})
        box->clearText();
    MaskEdit1->clear();
    {
        const QSignalBlocker quiet(Memo1);
        Memo1->clear();
    }
    Edit1->clear();
    Edit0->clear();
    Car_id->setText(QStringLiteral("*"));
    contracts::clearWorkLines(Grid_work);
    contracts::clearSpareLines(grid_sp);
    Label17->setText(QStringLiteral("0"));
    Label20->setText(QStringLiteral("0"));
    Label21->setText(QStringLiteral("0"));
}

void TCF::LoadDoc(const QString& key) {
    Label20->setText(QStringLiteral("0"));
    Label21->setText(QStringLiteral("0"));
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM Contracts ct INNER JOIN CARS cr ON ct.cr_fk=cr.pk_id "
                                 "WHERE ct.pk_id = :pk_id"));
    q.setString(QStringLiteral("pk_id"), key);
    q.open();
    q.first();
    auto text = [&q](const char* column) { return q.field(QString::fromLatin1(column)).asString(); };
    MaskEdit1->setText(text("c_date"));
    Box0->fill(text("meh"));
    Edit0->setText(text("num"));
    {
        // Remarks written elsewhere may carry Windows line ends.
        QString rem = text("rem");
        rem.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        rem.replace(u'\r', u'\n');
        const QSignalBlocker quiet(Memo1);
        Memo1->setPlainText(rem);
    }
    const std::pair<const char*, widgets::UpperCombo*> car[] = {
        {"dev", Box1},     {"mod", Box2},   {"gnum", Box3},   {"region", Box4}, {"d_year", Box5},
        {"vin", Box6},     {"color", Box7}, {"engine", Box8}, {"engine2", Box81}, {"body", Box9},
        {"body2", Box91},  {"owner", Box10}, {"phone", Box11}};
    for (const auto& [column, box] : car) box->fill(text(column));
    Edit1->setText(text("km"));
    Car_id->setText(text("cr_fk"));
    q.close();

    const rtl::Money works = contracts::loadWorkLines(Grid_work, key);
    Label20->setText(works.toString());
    const rtl::Money spares = contracts::loadSpareLines(grid_sp, key);
    Label21->setText(spares.toString());
    Label17->setText(rtl::FloatToStr(rtl::StrToFloat(Label21->text()) + rtl::StrToFloat(Label20->text())));
}

// ---- Lines --------------------------------------------------------------------------

void TCF::TakeCar(const cars::CarValues& car, const QString& key) {
    cars::CarFields::of(this).setValues(car);
    if (Car_id->text() != key) ToolButton8->setEnabled(true);
    Car_id->setText(key);
}

void TCF::AppendWork(const QString& name, const QString& price) {
    contracts::appendWorkLine(Grid_work, name, price);
    ToolButton8->setEnabled(true);
}

void TCF::AppendSpare(const QString& name, const QString& quantity, const QString& price) {
    contracts::appendSpareLine(grid_sp, name, quantity, price);
    ToolButton8->setEnabled(true);
}

void TCF::BitBtn3Click() { app::openModal(CF3, this); }
void TCF::BitBtn6Click() { app::openModal(CF4, this); }

void TCF::BitBtn5Click() {
    if (contracts::markOrRemoveLine(Grid_work, Grid_work->currentRow())) ToolButton8->setEnabled(true);
}

void TCF::BitBtn8Click() {
    if (contracts::markOrRemoveLine(grid_sp, grid_sp->currentRow())) ToolButton8->setEnabled(true);
}

void TCF::SaveWorks(int key) { contracts::saveWorkLines(Grid_work, key); }
void TCF::SaveSpares(int key) { contracts::saveSpareLines(grid_sp, key); }

// ---- Saving ---------------------------------------------------------------------------

bool TCF::InsertDoc() {
    fb::Query& q = DM->iDoc_Ins;
    q.close();
    q.setDate(QStringLiteral("c_date"), rtl::StrToDate(MaskEdit1->text()));
    q.setString(QStringLiteral("meh"), Box0->text());
    q.setString(QStringLiteral("rem"), Memo1->toPlainText());
    const QString marker = rtl::SysInfoMarker();
    q.setString(QStringLiteral("sysinfo"), marker);
    if (Car_id->text() == QStringLiteral("*")) {
        widgets::showMessage(QStringLiteral("Выберите машину!"), QStringLiteral("Ошибка"));
        return false;
    }
    const int car = rtl::StrToInt(Car_id->text());
    app::requireCar(car);
    q.setInteger(QStringLiteral("cr_fk"), car);
    DM->execCommit(q);
    DocId = app::readBackKey(QStringLiteral("Contracts"), marker);
    return true;
}

void TCF::UpdateDoc(const QString& key) {
    fb::Query& read = DM->iSQL;
    TDM::reset(read, QStringLiteral("SELECT cr_fk FROM Contracts WHERE pk_id = :pk_id"));
    read.setString(QStringLiteral("pk_id"), key);
    read.open();
    const bool found = read.recordCount() > 0;
    const int storedCar = found ? read.field(QStringLiteral("cr_fk")).asInteger() : 0;
    read.close();
    if (!found) throw app::RowGone(app::contractGoneText());

    fb::Query& q = DM->iDoc_Upd;
    q.close();
    q.setString(QStringLiteral("pk_id"), key);
    q.setDate(QStringLiteral("c_date"), rtl::StrToDate(MaskEdit1->text()));
    q.setString(QStringLiteral("num"), Edit0->text());
    q.setString(QStringLiteral("meh"), Box0->text());
    q.setString(QStringLiteral("rem"), Memo1->toPlainText());
    const int car = QString::number(storedCar) == Car_id->text() ? storedCar : rtl::StrToInt(Car_id->text());
    app::requireCar(car);
    q.setInteger(QStringLiteral("cr_fk"), car);
    DM->execCommit(q);
    // Deleted between the read and the update: nothing may be written.
    if (q.rowsAffected() == 0) throw app::RowGone(app::contractGoneText());
}

void TCF::ToolButton8Click() {
    const bool writing = MF->NewDoc || MF->EditDoc;
    if (writing) {
        // Every typed price and quantity of the lines is converted, and every
        // amount checked, before the first statement.
        // The contract's total has to fit as well.
        [[maybe_unused]] const rtl::Money total =
            contracts::checkWorkLines(Grid_work) + contracts::checkSpareLines(grid_sp);
        // The contract with all its lines is one unit: a failure anywhere
        // (a refused line, a lock, a lost server) writes none of it, and the
        // editor stays as it was, so the same save can simply be tried again.
        const int shownId = DocId;
        try {
            fb::WriteUnit unit(DM->IBTrans);
            if (MF->NewDoc) {
                if (!InsertDoc()) return;
            } else {
                UpdateDoc(QString::number(DocId));
            }
            SaveWorks(DocId);
            SaveSpares(DocId);
            unit.commit();
        } catch (...) {
            DocId = shownId;
            throw;
        }
        if (MF->NewDoc) {
            MF->NewDoc = false;
            setGroupsEnabled(false);
            ToolButton4->setEnabled(true);
            ToolButton6->setEnabled(true);
        }
    }
    ToolButton8->setEnabled(false);
    LoadDoc(QString::number(DocId));
}

// ---- Tool bar, car and keys --------------------------------------------------------------

void TCF::ToolButton4Click() {
    MF->EditDoc = true;
    setGroupsEnabled(true);
    MaskEdit1->setFocus();
}

void TCF::ToolButton6Click() { MF->PrintContractCard(QString::number(DocId)); }

void TCF::ToolButton14Click() { hide(); }

void TCF::BitBtn1Click() { app::openModal(CF2, this); }

void TCF::BitBtn9Click() {
    if (Car_id->text() != QStringLiteral("*")) HS->ShowCar(Car_id->text(), this);
}

void TCF::MaskEdit1Change() { ToolButton8->setEnabled(true); }

void TCF::MaskEdit1KeyPress(QWidget* field) { widgets::focusNext(field); }

void TCF::Memo1KeyPress() { BitBtn1->setFocus(Qt::TabFocusReason); }

// ---- Closing ----------------------------------------------------------------------------

void TCF::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (!e->spontaneous()) app::backToMain();
}

void TCF::closeEvent(QCloseEvent* e) {
    // Closing only hides the window; unsaved changes are dropped.
    e->accept();
    app::backToMain();
}
