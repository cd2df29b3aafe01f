// The contract editor's controls and layouts, built once by its constructor.
#include "contracts/CF.h"

#include "app/Columns.h"
#include "app/DM.h"
#include "app/RowGone.h"
#include "app/Lookup.h"
#include "app/WindowFlow.h"
#include "app/ContractLines.h"
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

namespace {

// Column lengths of Contracts and Cars.
namespace col = app::columns::cars;
constexpr int kIntegerLength = app::columns::kInteger;
constexpr int kMehLength = app::columns::contracts::meh;
constexpr int kRemLength = app::columns::contracts::rem;

QFont fieldFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    return font;
}

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
    buildOrderButtons();
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
    grid->addWidget(Label3, 3, 0);
    grid->addWidget(Memo1, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    const QFont font = fieldFont();
    for (QWidget* w : std::initializer_list<QWidget*>{Edit0, MaskEdit1, Box0, Memo1}) w->setFont(font);
    buildMileage(grid, 2);
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
    const Field fields[] = {{&Box1, "Box1", col::dev},       {&Box2, "Box2", col::mod},
                            {&Box3, "Box3", col::gnum},      {&Box4, "Box4", col::region},
                            {&Box5, "Box5", kIntegerLength}, {&Box6, "Box6", col::vin},
                            {&Box7, "Box7", col::color},     {&Box8, "Box8", col::engine},
                            {&Box81, "Box81", col::engine2}, {&Box9, "Box9", col::body},
                            {&Box91, "Box91", col::body2},   {&Box10, "Box10", col::owner},
                            {&Box11, "Box11", col::phone}};
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
    contracts::setupLineGrid(Grid_work, contracts::kWorkLines);
    contracts::setupLineGrid(grid_sp, contracts::kSpareLines);
}

void TCF::setNamesAndTabOrder() {
    const std::pair<QWidget*, const char*> names[] = {
        {Edit0, "Edit0"},   {MaskEdit1, "MaskEdit1"}, {Box0, "Box0"},       {Memo1, "Memo1"},
        {Edit1, "Edit1"},   {Label1, "Label1"},       {Label2, "Label2"},   {Label3, "Label3"},
        {Label17, "Label17"}, {Label23, "Label23"}};
    for (const auto& [w, name] : names) w->setObjectName(QString::fromLatin1(name));
    QWidget* order[] = {MaskEdit1, EditKm, DateNext, EditNextKm, Box0, Memo1, BitBtn1, Grid_work, BitBtn3, BitBtn5, grid_sp, BitBtn6, BitBtn8};
    for (size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}
