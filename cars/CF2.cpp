#include "cars/CF2.h"

#include "app/DM.h"
#include "app/DictionaryPair.h"
#include "app/Lookup.h"
#include "cars/CarList.h"
#include "rtl/Convert.h"
#include "rtl/Marker.h"
#include "widgets/Activation.h"
#include "widgets/Focus.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TCF2* CF2 = nullptr;

namespace {

const widgets::GridColumn kColumns[] = {
    {"ID", 2},     {"Марка - модель", 168}, {"Гос.номер", 82}, {"Год", 73},       {"Пробег", 57},
    {"Цвет", 125}, {"Двигатель", 141},      {"Кузов", 117},    {"Владелец", 171}, {"Телефон", 110}};

// The accept button's picture: a green arrow that turns back to the left.
QIcon returnArrow() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(26, 5);
    path.lineTo(26, 19);
    path.lineTo(12, 19);
    p.setPen(QPen(QColor(46, 150, 70), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QPainterPath head;
    head.moveTo(4, 19);
    head.lineTo(13, 11);
    head.lineTo(13, 27);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 150, 70));
    p.drawPath(head);
    return QIcon(pm);
}

QPushButton* pictureButton(QWidget* parent, const char* name, const QIcon& icon, const char* hint) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(icon);
    b->setIconSize(QSize(32, 32));
    b->setFixedSize(64, 52);
    b->setToolTip(QString::fromUtf8(hint));
    return b;
}

}  // namespace

TCF2::TCF2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CF2"));
    setWindowTitle(QStringLiteral("Выбор машины"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1070, 523);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    GroupBox1 = new QGroupBox(QStringLiteral("Данные по машине"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setStyleSheet(QStringLiteral("QGroupBox#GroupBox1 { font-weight: bold; color: blue; }"
                                            "QGroupBox#GroupBox1 QLabel { font-weight: normal; color: palette(text); }"));
    createFields(GroupBox1);
    top->addWidget(GroupBox1, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 10, 4, 4);
    buttons->setSpacing(10);
    BitBtn1 = pictureButton(this, "BitBtn1", returnArrow(), "Выбрать");
    BitBtn2 = pictureButton(this, "BitBtn2", widgets::icon(widgets::Glyph::Cancel), "Отмена");
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    top->addLayout(buttons);
    layout->addLayout(top);

    Grid_cars = new widgets::StringGrid(this);
    Grid_cars->setObjectName(QStringLiteral("Grid_cars"));
    Grid_cars->setColumns(kColumns);
    Grid_cars->setTitleColor(QColor(255, 255, 179));
    Grid_cars->setFont(QFont(QStringLiteral("Times New Roman")));
    Grid_cars->setDefaultRowHeight(22);
    Grid_cars->clearToBlankRow();
    layout->addWidget(Grid_cars, 1);

    Car_id = new QLabel(QStringLiteral("*"), this);
    Car_id->setObjectName(QStringLiteral("Car_id"));
    Car_id->hide();
    Label18 = new QLabel(QStringLiteral("Car_Id "), this);
    Label18->setObjectName(QStringLiteral("Label18"));
    Label18->hide();

    QWidget::setTabOrder(Box11, BitBtn1);
    QWidget::setTabOrder(BitBtn1, BitBtn2);
    QWidget::setTabOrder(BitBtn2, Grid_cars);

    // Esc in any field goes on to the window, which closes as by the cancel button.
    for (widgets::UpperCombo* box : boxes()) box->setEscapePropagates(true);
    Edit1->setEscapePropagates(true);

    // Handlers.
    connect(Box1, &widgets::UpperCombo::userChanged, this, &TCF2::Box1Change);
    connect(Box8, &widgets::UpperCombo::userChanged, this, &TCF2::Box8Change);
    connect(Box9, &widgets::UpperCombo::userChanged, this, &TCF2::Box9Change);
    connect(Box2, &widgets::UpperCombo::userChanged, this, &TCF2::Box2Change);
    connect(Box81, &widgets::UpperCombo::userChanged, this, &TCF2::Box81Change);
    connect(Box91, &widgets::UpperCombo::userChanged, this, &TCF2::Box91Change);
    for (widgets::UpperCombo* box : {Box3, Box4, Box5, Box6, Box7, Box10, Box11})
        connect(box, &widgets::UpperCombo::userChanged, this, &TCF2::Box3Change);
    connect(Edit1, &QLineEdit::textChanged, this, &TCF2::Box3Change);  // every change, the window's own too
    for (widgets::UpperCombo* box : boxes())
        connect(box, &widgets::UpperCombo::enterPressed, this, [this, box] { Box1KeyPress(box); });
    connect(Edit1, &widgets::UpperEdit::enterPressed, this, [this] { Box1KeyPress(Edit1); });
    connect(Grid_cars, &widgets::StringGrid::rowDoubleClicked, this, &TCF2::Grid_carsDblClick);
    connect(Grid_cars, &widgets::StringGrid::enterPressed, this, [this] { Grid_carsKeyPress(Qt::Key_Return); });
    connect(Grid_cars, &widgets::StringGrid::escapePressed, this, [this] { Grid_carsKeyPress(Qt::Key_Escape); });
    connect(BitBtn1, &QPushButton::clicked, this, &TCF2::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TCF2::BitBtn2Click);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

QString TCF2::carGoneMessage() {
    return QStringLiteral("Выбранной машины больше нет в базе данных. Выберите машину заново.");
}

// ---- Activation and the filter ---------------------------------------------

void TCF2::FormActivate() {
    Grid_cars->setTitles(widgets::columnTitles(kColumns));
    clear();  // the dependent lists stay; Car_id stays too
    FilterCars();
    fillNameLists();
    Box1->setFocus();
}

void TCF2::FilterCars() {
    fb::Query& q = DM->iCar_f;
    q.close();
    bindFilter(q);
    q.open(cars::carListColumns());
    const int n = q.recordCount();
    if (n == 0) {
        Grid_cars->clearToBlankRow();
        Car_id->setText(QStringLiteral("*"));
        q.close();
        return;
    }
    Grid_cars->fill(cars::carListRows(q.takeRows(), {QStringLiteral(" "), true}));
}

// ---- Field handlers ----------------------------------------------------------

void TCF2::Box1Change() {
    FilterCars();
    fillModels();
}

void TCF2::Box8Change() {
    FilterCars();
    fillEngineSpecs();
}

void TCF2::Box9Change() {
    FilterCars();
    fillBodySpecs();
}

void TCF2::Box2Change() { FilterCars(); }
void TCF2::Box81Change() { FilterCars(); }
void TCF2::Box91Change() { FilterCars(); }
void TCF2::Box3Change() { FilterCars(); }

void TCF2::Box1KeyPress(QWidget* field) { widgets::focusNext(field); }

// ---- Taking a car from the list ----------------------------------------------

void TCF2::Grid_carsDblClick() {
    if (!Grid_cars->cell(0, Grid_cars->currentRow()).isEmpty()) LoadChosenCar();
}

void TCF2::Grid_carsKeyPress(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        Grid_carsDblClick();
    else if (key == Qt::Key_Escape)
        BitBtn2Click();
}

void TCF2::LoadChosenCar() {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM Cars WHERE PK_id = :pk_id"));
    q.setInteger(QStringLiteral("pk_id"), rtl::StrToInt(Grid_cars->cell(0, Grid_cars->currentRow())));
    q.open();
    if (q.recordCount() == 0) {  // deleted since the list was read: the list is read again
        q.close();
        FilterCars();
        return;
    }
    const cars::CarValues car = cars::CarValues::fromRow(q);
    const QString key = q.field(QStringLiteral("PK_id")).asString();
    q.close();
    // Edit1 comes last; a new mileage text filters the list by the car's own values.
    setValues(car);
    Car_id->setText(key);
    BitBtn1->setFocus();
}

// ---- Accepting -----------------------------------------------------------------

void TCF2::BitBtn1Click() {
    bool handedOver = false;
    try {
        handedOver = AcceptCar();
    } catch (...) {
        accept();  // the accept button closes the window even when the hand-over failed
        throw;
    }
    if (handedOver) accept();
}

void TCF2::BitBtn2Click() { reject(); }

bool TCF2::AcceptCar() {
    if (Car_id->text() == QStringLiteral("*")) Car_id->setText(QString::number(AddCar()));

    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM Cars WHERE PK_id = :pk_id"));
    q.setInteger(QStringLiteral("pk_id"), rtl::StrToInt(Car_id->text()));
    q.open();
    if (q.recordCount() == 0) {
        // The car was deleted in the car directory since it was chosen: nothing
        // is handed over, and the picker stays open for another choice.
        q.close();
        Car_id->setText(QStringLiteral("*"));
        FilterCars();
        widgets::showMessage(carGoneMessage(), QStringLiteral("Ошибка"));
        Box1->setFocus();
        return false;
    }
    const cars::CarValues car = cars::CarValues::fromRow(q);
    const QString key = q.field(QStringLiteral("PK_id")).asString();
    q.close();

    emit carTaken(car, key);
    return true;
}

int TCF2::AddCar() {
    fb::Query& ins = DM->iCar_Ins;
    ins.close();
    bindCar(ins);  // the year and the mileage are converted before anything is written
    const QString marker = rtl::SysInfoMarker();
    ins.setString(QStringLiteral("sysinfo"), marker);
    DM->execCommit(ins);
    ins.close();
    const int key = app::readBackKey(QStringLiteral("Cars"), marker);
    // The car exists from here on: should a dictionary step fail, the next
    // accept hands this car over instead of inserting it a second time.
    Car_id->setText(QString::number(key));
    ensureDictionaries();
    return key;
}

void TCF2::EnsureDictionaryPair(const QString& master, const QString& detail, const QString& masterTable,
                                const QString& detailTable, const QString& keyColumn) {
    app::EnsureDictionaryPair(master, detail, masterTable, detailTable, keyColumn);
}
