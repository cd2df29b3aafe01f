// The car's history on paper: the car, its visits as the window lists them
// (with their mileage and sums), then every visit's works and parts.
#include "app/ContractLines.h"
#include "app/ShopDetails.h"
#include "cars/HS.h"
#include "fb/RowSet.h"
#include "print/Document.h"
#include "print/Preview.h"
#include "rtl/Convert.h"
#include "rtl/Money.h"
#include "widgets/StringGrid.h"

#include <QLabel>

namespace {

QString money(double v) { return rtl::Money::fits(v) ? rtl::Money::fromDouble(v).toString() : rtl::FloatToStr(v); }

// One visit's lines: name, quantity, price, sum.
void addLines(std::vector<QStringList>& rows, const contracts::LineKind& kind, const QString& key) {
    const fb::RowSet lines = contracts::readLines(kind, key);
    const int name = lines.indexOf(QStringLiteral("name")), price = lines.indexOf(QStringLiteral("price")),
              num = lines.indexOf(QStringLiteral("num"));
    for (int r = 0; r < lines.rowCount(); ++r) {
        const qint64 n = num < 0 ? 1 : lines.integer(r, num);
        const double p = lines.number(r, price);
        rows.push_back({lines.text(r, name), num < 0 ? QString() : QString::number(n), money(p), money(p * double(n))});
    }
}

}  // namespace

print::Document THS::PrintDocument() const {
    print::Document d;
    d.title = QStringLiteral("История обслуживания");
    QStringList car;
    for (const QLabel* l : {Label1, Label2, Label3}) if (!l->text().isEmpty()) car << l->text();
    d.subtitle = car.join(QStringLiteral(", "));
    d.runningHead = app::shopDetails().headLine();
    d.field(QStringLiteral("Владелец"), Label4->text()).field(QStringLiteral("Телефон"), Label5->text());

    // The visits as listed: the grid's columns after the hidden key.
    print::Table visits;
    const QList<int> right = {4, 5, 6, 7};
    for (int c = 1; c < Grid_hist->colCount(); ++c)
        visits.columns.push_back({Grid_hist->cell(c, 0).trimmed(), right.contains(c) ? Qt::AlignRight : Qt::AlignLeft});
    QStringList keys;
    std::vector<QStringList> listed;
    for (int r = 1; r < Grid_hist->rowCount(); ++r) {
        const QString key = Grid_hist->cell(0, r);
        if (key.isEmpty()) continue;
        keys << key;
        QStringList row;
        for (int c = 1; c < Grid_hist->colCount(); ++c) row << Grid_hist->cell(c, r).trimmed();
        listed.push_back(row);
    }
    visits.rows = listed;
    visits.totals.push_back({LabelTotal->text()});
    d.table(std::move(visits));
    if (!LabelYear->isHidden()) d.paragraph(LabelYear->text());

    for (int i = 0; i < keys.size(); ++i) {
        const QStringList& v = listed[size_t(i)];
        d.heading(QStringLiteral("Договор № %1 от %2").arg(v.value(0), v.value(1)), 2);
        print::Table lines;
        lines.columns = {{QStringLiteral("Наименование")},
                         {QStringLiteral("Кол-во"), Qt::AlignRight, 10},
                         {QStringLiteral("Цена"), Qt::AlignRight, 15},
                         {QStringLiteral("Сумма"), Qt::AlignRight, 15}};
        addLines(lines.rows, contracts::kWorkLines, keys[i]);
        addLines(lines.rows, contracts::kSpareLines, keys[i]);
        if (lines.rows.empty()) {
            d.paragraph(QStringLiteral("Строк нет."));
            continue;
        }
        d.table(std::move(lines));
    }
    return d;
}

void THS::BitBtnPrintClick() { print::preview(PrintDocument(), this); }
