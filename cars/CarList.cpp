#include "cars/CarList.h"

#include "app/FetchedRows.h"

namespace cars {

namespace {
enum { Key, Dev, Mod, Gnum, Region, Year, Km, Color, Engine, Engine2, Body, Body2, Owner, Phone };
}  // namespace

const QStringList& carListColumns() {
    static const QStringList names = {
        QStringLiteral("PK_id"),   QStringLiteral("Dev"),   QStringLiteral("Mod"),    QStringLiteral("Gnum"),
        QStringLiteral("Region"),  QStringLiteral("d_Year"), QStringLiteral("Km"),     QStringLiteral("Color"),
        QStringLiteral("Engine"),  QStringLiteral("Engine2"), QStringLiteral("Body"),  QStringLiteral("Body2"),
        QStringLiteral("Owner"),   QStringLiteral("Phone")};
    return names;
}

std::shared_ptr<const widgets::GridRows> carListRows(fb::RowSet rows, const CarListStyle& style) {
    return std::make_shared<app::FetchedRows>(std::move(rows), [style](const fb::RowSet& rs, int col, int r) {
        const QString pad = QStringLiteral("  ");
        switch (col) {
        case 0: return rs.text(r, Key);
        case 1: return pad + rs.text(r, Dev) + style.gap + rs.text(r, Mod);
        case 2: return pad + rs.text(r, Gnum) + style.gap + rs.text(r, Region);
        case 3: return pad + QString::number(rs.integer(r, Year));
        case 4:
            if (style.blankWithoutMileage && rs.isNull(r, Km)) return pad;
            return pad + QString::number(rs.integer(r, Km));
        case 5: return pad + rs.text(r, Color);
        case 6: return pad + rs.text(r, Engine) + u' ' + rs.text(r, Engine2);
        case 7: return pad + rs.text(r, Body) + u' ' + rs.text(r, Body2);
        case 8: return pad + rs.text(r, Owner);
        case 9: return pad + rs.text(r, Phone);
        default: return QString();
        }
    });
}

}  // namespace cars
