#include "app/Mileage.h"

#include "app/DM.h"
#include "fb/Query.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace app {

std::optional<int> parseMileage(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return -1;
    if (t.size() > 7) return std::nullopt;
    for (QChar ch : t)
        if (ch < u'0' || ch > u'9') return std::nullopt;
    return t.toInt();
}

Visit earlierVisit(int car, const QDate& date, int contract) {
    fb::Query q(&DM->IBDbase, &DM->IBTrans);
    q.setSQL({QStringLiteral("SELECT FIRST 1 c_date, km FROM Contracts WHERE cr_fk = :cr_fk AND km IS NOT NULL "
                             "AND pk_id <> :pk_id AND (c_date < :d1 OR (c_date = :d2 AND pk_id < :before)) "
                             "ORDER BY c_date DESC, pk_id DESC")});
    q.setInteger(QStringLiteral("cr_fk"), car);
    q.setInteger(QStringLiteral("pk_id"), contract);
    q.setDate(QStringLiteral("d1"), date);
    q.setDate(QStringLiteral("d2"), date);
    q.setInteger(QStringLiteral("before"), contract < 0 ? std::numeric_limits<int>::max() : contract);
    q.open();
    const fb::RowSet r = q.takeRows();
    Visit v;
    if (r.rowCount() > 0) {
        v.date = r.date(0, 0);
        v.km = int(r.integer(0, 1));
    }
    return v;
}

std::optional<int> yearlyDistance(QList<Visit> visits) {
    visits.removeIf([](const Visit& v) { return v.km < 0 || !v.date.isValid(); });
    if (visits.size() < 2) return std::nullopt;
    std::stable_sort(visits.begin(), visits.end(), [](const Visit& a, const Visit& b) { return a.date < b.date; });
    const Visit& first = visits.first();
    const Visit& last = visits.last();
    const qint64 days = first.date.daysTo(last.date);
    if (days <= 0 || last.km < first.km) return std::nullopt;
    return int(std::lround(double(last.km - first.km) * 365.25 / double(days)));
}

}  // namespace app
