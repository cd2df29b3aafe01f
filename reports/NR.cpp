#include "reports/NR.h"

#include "app/DM.h"
#include "app/Settings.h"
#include "cars/HS.h"
#include "print/ListDocument.h"
#include "print/Preview.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/GridRows.h"
#include "widgets/LineEdit.h"
#include "widgets/StringGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TNR* NR = nullptr;

namespace {

const widgets::GridColumn kColumns[] = {
    {"  ID", 2},           {"  ВЛАДЕЛЕЦ", 210},   {"  ТЕЛЕФОН", 120},      {"  МАРКА, МОДЕЛЬ", 150},
    {"  ГОС. НОМЕР", 100}, {"  ВИЗИТ", 82},       {"  ПРОБЕГ", 70},        {"  ПРОБЕГ СЕЙЧАС", 100},
    {"  ТО: ДАТА", 82},    {"  ТО: ПРОБЕГ", 80},  {"  СОСТОЯНИЕ", 90},     {"  ПОЗВОНИЛИ", 82}};

// The grid's rows made from the list as the view asks for them; the owner,
// phone, model and plate of a screen's cars are read when it first shows
// them (the list leaves them out).
class ReminderRows : public widgets::GridRows {
public:
    explicit ReminderRows(std::shared_ptr<QList<app::Reminder>> rows) : rows_(std::move(rows)) {}
    int count() const override { return int(rows_->size()); }
    QString text(int col, int row) const override {
        if (col >= 1 && col <= 4 && !(*rows_)[row].shownRead) readAround(row);
        const app::Reminder& r = (*rows_)[row];
        if (col == 0) return QString::number(r.car);
        return QStringLiteral("  ") + app::reminderRow(r).value(col - 1);
    }

private:
    void readAround(int row) const {
        constexpr int kScreen = 64;
        const int from = row / kScreen * kScreen;
        try {
            app::readShownFields(DM->IBDbase, DM->IBTrans, *rows_, from, from + kScreen);
        } catch (const std::exception& e) {
            // Painting cannot ask; the rows stay empty until the list is read again.
            qWarning("reminders: %s", e.what());
            for (int i = from; i < std::min<int>(from + kScreen, count()); ++i) (*rows_)[i].shownRead = true;
        }
    }

    std::shared_ptr<QList<app::Reminder>> rows_;  // the window's own list, not a copy
};

// A whole number of a field, or the refusal naming the field; the text
// typed stays as it is.
int wholeNumber(widgets::LineEdit* edit, const QString& field, int low, int high) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (!ok || v < low || v > high) {
        edit->setFocus();
        throw rtl::ConvertError(QStringLiteral("%1: нужно целое число от %2 до %3.").arg(field).arg(low).arg(high));
    }
    return v;
}

}  // namespace

TNR::TNR(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NR"));
    setWindowTitle(QStringLiteral("Напоминания о ТО"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1200, 640);

    auto edit = [this](const char* name, int width) {
        auto* e = new widgets::LineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setFixedWidth(width);
        e->setMaxLength(7);
        e->setEscapePropagates(true);
        return e;
    };
    EditDays = edit("EditDays", 60);
    EditKmAhead = edit("EditKmAhead", 80);
    EditServiceMonths = edit("EditServiceMonths", 60);
    EditServiceKm = edit("EditServiceKm", 80);
    EditDays->setText(QStringLiteral("30"));
    EditKmAhead->setText(QStringLiteral("1000"));

    auto* terms = new QGroupBox(QStringLiteral("Показать машины: ТО просрочено или наступит"), this);
    terms->setObjectName(QStringLiteral("GP1"));
    auto* t = new QHBoxLayout(terms);
    t->addWidget(new QLabel(QStringLiteral("В ТЕЧЕНИЕ, ДНЕЙ"), terms));
    t->addWidget(EditDays);
    t->addSpacing(12);
    t->addWidget(new QLabel(QStringLiteral("ИЛИ ЧЕРЕЗ, КМ"), terms));
    t->addWidget(EditKmAhead);
    t->addStretch(1);
    auto* interval = new QGroupBox(QStringLiteral("Интервал ТО, если договор не задал следующее"), this);
    interval->setObjectName(QStringLiteral("GP2"));
    auto* i = new QHBoxLayout(interval);
    i->addWidget(new QLabel(QStringLiteral("МЕСЯЦЕВ"), interval));
    i->addWidget(EditServiceMonths);
    i->addSpacing(12);
    i->addWidget(new QLabel(QStringLiteral("КМ"), interval));
    i->addWidget(EditServiceKm);
    i->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(terms, 1);
    top->addWidget(interval, 1);

    Grid_rem = new widgets::StringGrid(this);
    Grid_rem->setObjectName(QStringLiteral("Grid_rem"));
    Grid_rem->setColumns(kColumns);
    Grid_rem->setTitleColor(QColor(widgets::kTitleYellow));
    Grid_rem->clearToBlankRow();
    Grid_rem->setTitles(widgets::columnTitles(kColumns));
    Grid_rem->setEscapePropagates(true);

    LabelTotal = new QLabel(this);
    LabelTotal->setObjectName(QStringLiteral("LabelTotal"));
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumSize(110, 30);
        b->setAutoDefault(false);
        return b;
    };
    BitBtnCalled = button("BitBtnCalled", "Позвонили");
    BitBtnCalled->setToolTip(QStringLiteral("Отметить сегодняшним днём, что клиенту напомнили (F2)"));
    BitBtnCalled->setShortcut(QKeySequence(Qt::Key_F2));
    BitBtnPrint = button("BitBtnPrint", "Печать");
    BitBtnPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    BitBtnClose = button("BitBtnClose", "Закрыть");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabelTotal, 1);
    bottom->addWidget(BitBtnCalled);
    bottom->addWidget(BitBtnPrint);
    bottom->addWidget(BitBtnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(Grid_rem, 1);
    layout->addLayout(bottom);

    setTabOrder(EditDays, EditKmAhead);
    setTabOrder(EditKmAhead, EditServiceMonths);
    setTabOrder(EditServiceMonths, EditServiceKm);
    setTabOrder(EditServiceKm, Grid_rem);
    setTabOrder(Grid_rem, BitBtnCalled);
    setTabOrder(BitBtnCalled, BitBtnPrint);
    setTabOrder(BitBtnPrint, BitBtnClose);

    // Handlers.
    connect(EditDays, &widgets::LineEdit::enterPressed, this, &TNR::EditDaysExit);
    connect(EditKmAhead, &widgets::LineEdit::enterPressed, this, &TNR::EditDaysExit);
    connect(EditServiceMonths, &widgets::LineEdit::enterPressed, this, &TNR::EditServiceExit);
    connect(EditServiceKm, &widgets::LineEdit::enterPressed, this, &TNR::EditServiceExit);
    connect(Grid_rem, &widgets::StringGrid::enterPressed, this, &TNR::Grid_remKeyPress);
    connect(Grid_rem, &widgets::StringGrid::rowDoubleClicked, this, &TNR::Grid_remKeyPress);
    connect(BitBtnCalled, &QPushButton::clicked, this, &TNR::BitBtnCalledClick);
    connect(BitBtnPrint, &QPushButton::clicked, this, &TNR::BitBtnPrintClick);
    connect(BitBtnClose, &QPushButton::clicked, this, &TNR::reject);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

// Each opening starts from the stored interval at the top of the list; coming
// back from the car's history or the print preview reads the list again and
// keeps the current car and what was typed.
void TNR::FormActivate() {
    const bool opening = !wasActive_;
    wasActive_ = true;
    if (opening) {
        EditServiceMonths->setText(
            QString::number(app::settingInt(QLatin1String(app::kServiceMonths), app::kDefaultServiceMonths)));
        EditServiceKm->setText(
            QString::number(app::settingInt(QLatin1String(app::kServiceKm), app::kDefaultServiceKm)));
    }
    FillList();
    if (opening) Grid_rem->setCurrentRow(1);
    Grid_rem->setFocus();
}

void TNR::hideEvent(QHideEvent* event) {
    wasActive_ = false;
    QDialog::hideEvent(event);
}

app::ReminderTerms TNR::terms() const {
    app::ReminderTerms t;
    t.today = QDate::currentDate();
    t.days = wholeNumber(EditDays, QStringLiteral("В ТЕЧЕНИЕ, ДНЕЙ"), 0, 36500);
    t.kmAhead = wholeNumber(EditKmAhead, QStringLiteral("ИЛИ ЧЕРЕЗ, КМ"), 0, 9999999);
    t.months = wholeNumber(EditServiceMonths, QStringLiteral("ИНТЕРВАЛ ТО, МЕСЯЦЕВ"), 1, 1200);
    t.km = wholeNumber(EditServiceKm, QStringLiteral("ИНТЕРВАЛ ТО, КМ"), 1, 9999999);
    return t;
}

const app::Reminder* TNR::current() const {
    const int row = Grid_rem->currentRow();
    if (row < 1 || row > rows_->size()) return nullptr;
    return &(*rows_)[row - 1];
}

void TNR::FillList() {
    const app::ReminderTerms t = terms();
    const app::Reminder* was = current();
    const int car = was ? was->car : 0;
    rows_ = std::make_shared<QList<app::Reminder>>(app::dueForService(DM->IBDbase, DM->IBTrans, t, false));
    Grid_rem->fill(std::make_shared<ReminderRows>(rows_));
    for (int r = 0; car && r < rows_->size(); ++r)
        if ((*rows_)[r].car == car) {
            Grid_rem->setCurrentRow(r + 1);
            break;
        }
    int overdue = 0;
    for (const app::Reminder& r : std::as_const(*rows_)) overdue += r.overdue ? 1 : 0;
    LabelTotal->setText(QStringLiteral("МАШИН: %1, ИЗ НИХ ПРОСРОЧЕНО: %2").arg(rows_->size()).arg(overdue));
}

void TNR::EditDaysExit() {
    FillList();
    Grid_rem->setFocus();
}

void TNR::EditServiceExit() {
    const app::ReminderTerms t = terms();  // refuses before anything is stored
    app::storeSetting(QLatin1String(app::kServiceMonths), QString::number(t.months));
    app::storeSetting(QLatin1String(app::kServiceKm), QString::number(t.km));
    FillList();
    Grid_rem->setFocus();
}

void TNR::BitBtnCalledClick() {
    const app::Reminder* r = current();
    if (!r || r->contract == 0) return;
    app::markReminded(DM->IBDbase, DM->IBTrans, r->contract, QDate::currentDate());
    FillList();
    Grid_rem->setFocus();
}

void TNR::BitBtnPrintClick() {
    std::vector<print::Column> columns;
    const QStringList header = app::reminderHeader();
    const QList<bool> right = app::reminderNumberColumns();
    for (qsizetype c = 0; c < header.size(); ++c)
        columns.push_back({header[c], right.value(c) ? Qt::AlignRight : Qt::AlignLeft});
    app::readShownFields(DM->IBDbase, DM->IBTrans, *rows_, 0, rows_->size());
    std::vector<QStringList> rows;
    rows.reserve(size_t(rows_->size()));
    for (const app::Reminder& r : std::as_const(*rows_)) rows.push_back(app::reminderRow(r));
    const QString subtitle = QStringLiteral("на %1: ТО просрочено или наступит в течение %2 дн. или %3 км")
                                 .arg(rtl::DateToStr(QDate::currentDate()), EditDays->text().trimmed(),
                                      EditKmAhead->text().trimmed());
    print::preview(print::listDocument(windowTitle(), subtitle, std::move(columns), std::move(rows)), this);
}

void TNR::Grid_remKeyPress() {
    const app::Reminder* r = current();
    if (!r) return;
    HS->ShowCar(QString::number(r->car), this);
}
