#include "reports/RV.h"

#include "app/DM.h"
#include "app/OwnerSchema.h"
#include "print/Preview.h"
#include "rtl/Convert.h"
#include "widgets/Activation.h"
#include "widgets/BarChart.h"
#include "widgets/DateEdit.h"
#include "widgets/StringGrid.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <utility>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <stdexcept>

TRV* RV = nullptr;

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QSize kImageSize(1200, 480);

QStringList monthTitles(bool paid) {
    QStringList t = {QStringLiteral("Месяц"), QStringLiteral("Договоров"), QStringLiteral("Работы"),
                     QStringLiteral("Запчасти"), QStringLiteral("Всего"), QStringLiteral("Средний заказ")};
    if (paid) t << QStringLiteral("Оплачено");
    return t;
}

QStringList monthTexts(const app::MonthFigures& m, bool paid) {
    QStringList t = {app::monthCaption(m.month), QString::number(m.contracts), m.labour.toString(),
                     m.parts.toString(),         m.total().toString(),         m.average().toString()};
    if (paid) t << m.paid.toString();
    return t;
}

const QStringList kWorkTitles = {QStringLiteral("№"), QStringLiteral("Работа"), QStringLiteral("Строк"),
                                 QStringLiteral("Сумма")};

QStringList workTexts(const app::WorkEarning& w, int place) {
    return {QString::number(place), w.name, QString::number(w.lines), w.amount.toString()};
}

QStringList upper(const QStringList& l) {
    QStringList u;
    for (const QString& s : l) u << s.toUpper();
    return u;
}

void fillGrid(widgets::StringGrid* grid, const QStringList& titles, const std::vector<QStringList>& rows) {
    grid->clearToBlankRow();
    grid->setColCount(titles.size());
    grid->setTitles(upper(titles));
    if (rows.empty()) return;
    grid->beginFill(int(rows.size()) + 1);
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < rows[size_t(r)].size(); ++c) grid->setCell(c, r + 1, rows[size_t(r)][c]);
    grid->endFill();
}

}  // namespace

TRV::TRV(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RV"));
    setWindowTitle(QStringLiteral("Выручка"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(980, 720);

    Label1 = named(new QLabel(QStringLiteral("12 МЕСЯЦЕВ ПО МЕСЯЦ ДАТЫ"), this), "Label1");
    DateTo = named(new widgets::DateEdit(this), "DateTo");
    DateTo->setFixedWidth(92);
    BitBtn1 = named(new QPushButton(QStringLiteral("ПОКАЗАТЬ"), this), "BitBtn1");
    BitBtn2 = named(new QPushButton(QStringLiteral("ПЕЧАТЬ"), this), "BitBtn2");
    BitBtn3 = named(new QPushButton(QStringLiteral("СОХРАНИТЬ PNG"), this), "BitBtn3");
    BitBtn4 = named(new QPushButton(QStringLiteral("ЗАКРЫТЬ"), this), "BitBtn4");
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn4}) b->setAutoDefault(false);
    Chart = named(new widgets::BarChart(this), "Chart");
    Chart->setSeriesNames({QStringLiteral("Работы"), QStringLiteral("Запчасти"), QStringLiteral("Оплачено")});
    Grid_months = named(new widgets::StringGrid(this), "Grid_months");
    Grid_months->setTitleColor(QColor(widgets::kTitleYellow));
    Label2 = named(new QLabel(QStringLiteral("Десять работ, принесших больше всего за эти месяцы"), this), "Label2");
    Grid_works = named(new widgets::StringGrid(this), "Grid_works");
    // Esc closes the window from any of its controls.
    for (widgets::StringGrid* g : {Grid_months, Grid_works}) g->setEscapePropagates(true);
    DateTo->setEscapePropagates(true);
    Grid_works->setTitleColor(QColor(widgets::kTitleYellow));
    fillGrid(Grid_months, monthTitles(true), {});
    fillGrid(Grid_works, kWorkTitles, {});
    const int monthWidths[] = {90, 80, 110, 110, 110, 110, 110};
    for (int c = 0; c < 7; ++c) Grid_months->setColWidth(c, monthWidths[c]);
    const int workWidths[] = {40, 380, 70, 110};
    for (int c = 0; c < 4; ++c) Grid_works->setColWidth(c, workWidths[c]);

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(DateTo);
    top->addWidget(BitBtn1);
    top->addStretch(1);
    top->addWidget(BitBtn2);
    top->addWidget(BitBtn3);
    top->addWidget(BitBtn4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Chart, 3);
    layout->addWidget(Grid_months, 2);
    layout->addWidget(Label2);
    layout->addWidget(Grid_works, 2);

    connect(DateTo, &widgets::LineEdit::enterPressed, this, &TRV::BitBtn1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TRV::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TRV::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TRV::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &QDialog::reject);

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

void TRV::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) opening_ = true;
}

void TRV::FormActivate() {
    if (!std::exchange(opening_, false)) return;
    DateTo->setText(rtl::DateToStr(QDate::currentDate()));
    BitBtn1Click();
    Grid_months->setFocus();
}

void TRV::BitBtn1Click() {
    const QDate last = rtl::StrToDate(DateTo->text());
    Figures = app::revenue(DM->IBDbase, DM->IBTrans, last, app::hasPayments());
    const bool paid = Figures.withPaid;

    std::vector<widgets::ChartBar> bars;
    std::vector<QStringList> months;
    const QStringList titles = monthTitles(paid);
    for (const app::MonthFigures& m : Figures.months) {
        const QStringList t = monthTexts(m, paid);
        QStringList tip;
        for (int i = 0; i < t.size(); ++i) tip << titles[i] + QStringLiteral(": ") + t[i];
        bars.push_back({app::monthCaption(m.month).left(3), m.labour, m.parts, m.paid, tip.join(u'\n')});
        months.push_back(t);
    }
    Chart->setLineShown(paid);
    Chart->setBars(std::move(bars));
    fillGrid(Grid_months, titles, months);

    std::vector<QStringList> works;
    for (size_t i = 0; i < Figures.topWorks.size(); ++i) works.push_back(workTexts(Figures.topWorks[i], int(i) + 1));
    fillGrid(Grid_works, kWorkTitles, works);
}

print::Document TRV::PrintDocument() const {
    print::Document d;
    d.title = windowTitle();
    d.subtitle = QStringLiteral("с %1 по %2").arg(rtl::DateToStr(Figures.from()), rtl::DateToStr(Figures.to()));
    d.orientation = print::Orientation::Landscape;
    d.image(Chart->image(kImageSize), 250);
    const bool paid = Figures.withPaid;
    print::Table months;
    for (const QString& t : monthTitles(paid)) months.columns.push_back({t, t == QStringLiteral("Месяц") ? Qt::AlignLeft : Qt::AlignRight});
    for (const app::MonthFigures& m : Figures.months) months.rows.push_back(monthTexts(m, paid));
    d.table(std::move(months));
    d.heading(Label2->text(), 2);
    print::Table works;
    works.columns = {{kWorkTitles[0], Qt::AlignRight, 6}, {kWorkTitles[1]}, {kWorkTitles[2], Qt::AlignRight, 10},
                     {kWorkTitles[3], Qt::AlignRight, 16}};
    for (size_t i = 0; i < Figures.topWorks.size(); ++i) works.rows.push_back(workTexts(Figures.topWorks[i], int(i) + 1));
    d.table(std::move(works));
    return d;
}

void TRV::BitBtn2Click() { print::preview(PrintDocument(), this); }

void TRV::SavePng(const QString& file) const {
    if (!Chart->image(kImageSize).save(file, "PNG"))
        throw std::runtime_error(QStringLiteral("Не удалось записать файл %1").arg(file).toStdString());
}

void TRV::BitBtn3Click() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = QStringLiteral("Выручка %1.png").arg(Figures.to().toString(QStringLiteral("yyyy-MM")));
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить диаграмму"),
                                                      folder + u'/' + name, QStringLiteral("Рисунок PNG (*.png)"));
    if (!file.isEmpty()) SavePng(file);
}
