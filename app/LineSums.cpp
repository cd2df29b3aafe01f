#include "app/LineSums.h"

#include "app/LineMoney.h"
#include "app/OwnerSchema.h"
#include "fb/Query.h"

namespace app {

namespace {

void bind(fb::Query& q, const QDate& from, const QDate& to, const QString* mechanic) {
    q.setDate(QStringLiteral("d1"), from);
    q.setDate(QStringLiteral("d2"), to);
    if (mechanic) q.setString(QStringLiteral("meh"), *mechanic);
}

}  // namespace

std::optional<QHash<QString, LineSums>> keptSums(fb::Connection& db, fb::Transaction& tr, const QString& key,
                                                 const QString& where, const QDate& from, const QDate& to,
                                                 const QString* mechanic) {
    if (!hasContractSums()) return std::nullopt;
    fb::Query q(&db, &tr);
    // The sums are exact NUMERIC(18,4): read in the money's own units.
    q.setSQL({QStringLiteral("SELECT %1 AS grp, SUM(ct.works_sum), SUM(ct.spares_sum),").arg(key),
              QStringLiteral("2 * COUNT(*) - COUNT(ct.works_sum) - COUNT(ct.spares_sum), COUNT(*)"),
              QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id"),
              QStringLiteral("WHERE ") + where, QStringLiteral("GROUP BY 1")});
    bind(q, from, to, mechanic);
    q.open();
    QHash<QString, LineSums> sums;
    const fb::RowSet& rows = q.rows();
    for (int r = 0; r < rows.rowCount(); ++r) {
        if (rows.integer(r, 3) != 0) return std::nullopt;  // a line past the money limit
        LineSums& s = sums[rows.text(r, 0)];
        s.labour += rtl::Money::fromUnits(rows.scaledInteger(r, 1, -4));
        s.parts += rtl::Money::fromUnits(rows.scaledInteger(r, 2, -4));
        s.contracts += int(rows.integer(r, 4));
    }
    q.close();
    return sums;
}

QHash<QString, LineSums> lineSums(fb::Connection& db, fb::Transaction& tr, const QString& key, const QString& where,
                                  const QDate& from, const QDate& to, const QString* mechanic, LineKinds kinds) {
    if (auto kept = keptSums(db, tr, key, where, from, to, mechanic)) return *kept;
    QHash<QString, LineSums> sums;
    const auto run = [&](bool works) {
        fb::Query q(&db, &tr);
        const QString line = works ? QStringLiteral("w.price, 1") : QStringLiteral("w.price, w.num");
        q.setSQL({QStringLiteral("SELECT %1 AS grp, %2, COUNT(*) AS n").arg(key, line),
                  QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id"),
                  // "+ 0": the contracts of the period first (by their date), then
                  // their lines by ct_fk; the engine would otherwise read every line.
                  QStringLiteral("INNER JOIN %1 w ON w.ct_fk = ct.pk_id + 0").arg(works ? "CT_Works" : "CT_Spares"),
                  QStringLiteral("WHERE ") + where, works ? QStringLiteral("GROUP BY 1, 2") : QStringLiteral("GROUP BY 1, 2, 3")});
        bind(q, from, to, mechanic);
        q.open();
        const fb::RowSet& rows = q.rows();
        for (int r = 0; r < rows.rowCount(); ++r) {
            const double price = rows.number(r, 1);
            const rtl::Money one = works ? rtl::Money::fromDouble(price) : rtl::Money::times(price, rows.integer(r, 2));
            LineSums& s = sums[rows.text(r, 0)];
            (works ? s.labour : s.parts) += repeated(one, rows.integer(r, 3));
        }
        q.close();
    };
    if (kinds == LineKinds::Both) run(true);
    run(false);
    return sums;
}

}  // namespace app
