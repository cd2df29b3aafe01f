#include "app/Reminders.h"

#include "app/SchemaUpgrade.h"
#include "app/Settings.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "rtl/Convert.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace app {

namespace {

// A visit, ordered by its date and then by its key (the later entered of
// one day is the newer).
struct Visit {
    QDate date;
    int key = 0;
    bool valid() const { return key != 0; }
    bool newerThan(const Visit& o) const { return !o.valid() || date > o.date || (date == o.date && key > o.key); }
};

// What one pass over a car's contracts keeps.
struct CarVisits {
    Visit last;          // the last visit
    qint64 lastKm = -1;  // its mileage (-1: none)
    QDate lastReminded;
    Visit firstWithKm, lastWithKm;
    qint64 firstKm = 0, lastKmSeen = 0;
    int withKm = 0;
    Visit setter;  // the newest contract that sets the next service
    QDate nextDate, setterReminded;
    qint64 nextKm = -1;
};

std::optional<qint64> kmOf(qint64 v) { return v < 0 ? std::nullopt : std::optional<qint64>(v); }

QString joined(const QString& a, const QString& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return a + u' ' + b;
}

QString dateText(const QDate& d) { return d.isValid() ? rtl::DateToStr(d) : QString(); }
QString kmText(const std::optional<qint64>& v) { return v ? QString::number(*v) : QString(); }

// The due service of one car and where it stands today; false when the car
// is neither overdue nor due within the terms.
bool judge(const CarVisits& v, const ReminderTerms& t, Reminder& r) {
    r.lastVisit = v.last.date;
    r.lastKm = kmOf(v.lastKm);
    if (v.setter.valid()) {
        r.dueDate = v.nextDate;
        r.dueKm = kmOf(v.nextKm);
        r.contract = v.setter.key;
        r.reminded = v.setterReminded;
    } else {
        r.dueDate = v.last.date.addMonths(t.months);
        if (r.lastKm) r.dueKm = *r.lastKm + t.km;
        r.contract = v.last.key;
        r.reminded = v.lastReminded;
    }
    // Today's mileage: the average distance a day since the first visit
    // with a mileage, run on from the last one.
    double perDay = -1;
    const qint64 span = v.firstWithKm.date.daysTo(v.lastWithKm.date);
    if (v.withKm >= 2 && span > 0) {
        perDay = std::max(0.0, double(v.lastKmSeen - v.firstKm) / double(span));
        r.estimatedKm = v.lastKmSeen + qint64(std::llround(perDay * double(v.lastWithKm.date.daysTo(t.today))));
    }

    bool soon = false;
    double left = 1e18;
    if (r.dueDate.isValid()) {
        const qint64 days = t.today.daysTo(r.dueDate);
        r.overdue = days < 0;
        soon = days <= t.days;
        left = double(days);
    }
    if (r.estimatedKm && r.dueKm) {
        const qint64 rest = *r.dueKm - *r.estimatedKm;
        if (rest <= 0) r.overdue = true;
        if (rest <= t.kmAhead) soon = true;
        if (perDay > 0) left = std::min(left, double(rest) / perDay);
        else if (rest <= 0) left = std::min(left, 0.0);
    }
    r.daysLeft = left;
    return r.overdue || soon;
}

}  // namespace

void readServiceInterval(fb::Connection& db, fb::Transaction& tr, ReminderTerms& terms) {
    terms.months = kDefaultServiceMonths;
    terms.km = kDefaultServiceKm;
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT name, val FROM Settings WHERE name IN (:months, :km)")});
    q.setString(QStringLiteral("months"), QString::fromLatin1(kServiceMonths));
    q.setString(QStringLiteral("km"), QString::fromLatin1(kServiceKm));
    q.open();
    const fb::RowSet& rows = q.rows();
    for (int i = 0; i < rows.rowCount(); ++i) {
        bool ok = false;
        const int v = rows.text(i, 1).trimmed().toInt(&ok);
        if (!ok || v <= 0) continue;
        if (rows.text(i, 0) == QLatin1String(kServiceMonths)) terms.months = v;
        else terms.km = v;
    }
}

namespace {

void sortDue(QList<Reminder>& out) {
    std::sort(out.begin(), out.end(), [](const Reminder& a, const Reminder& b) {
        if (a.overdue != b.overdue) return a.overdue;
        if (a.daysLeft != b.daysLeft) return a.daysLeft < b.daysLeft;
        return a.car < b.car;
    });
}

void setCarFields(const fb::RowSet& rows, int i, int first, Reminder& r) {
    r.shownRead = true;
    r.owner = rows.text(i, first);
    r.phone = rows.text(i, first + 1);
    r.model = joined(rows.text(i, first + 2), rows.text(i, first + 3));
    r.plate = joined(rows.text(i, first + 4), rows.text(i, first + 5));
}

// Without step 8: two reads, both a plain pass over one table: every dated
// contract of every car (its key, date, mileage, next service and reminder
// date only), reduced per car here, then the cars. Grouping in the engine
// instead costs a sort of all the contracts and a second read of the chosen
// ones.
QList<Reminder> dueFromContracts(fb::Connection& db, fb::Transaction& tr, const ReminderTerms& terms) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT cr_fk, pk_id, c_date, km, next_date, next_km, reminded FROM Contracts"),
              QStringLiteral("WHERE c_date IS NOT NULL AND cr_fk IS NOT NULL")});
    q.open();
    const fb::RowSet ct = q.takeRows();

    std::unordered_map<int, CarVisits> cars;
    cars.reserve(size_t(ct.rowCount() / 2 + 16));
    for (int i = 0; i < ct.rowCount(); ++i) {
        CarVisits& c = cars[int(ct.integer(i, 0))];
        const Visit visit{ct.date(i, 2), int(ct.integer(i, 1))};
        const bool hasKm = !ct.isNull(i, 3);
        const qint64 km = ct.integer(i, 3);
        if (visit.newerThan(c.last)) {
            c.last = visit;
            c.lastKm = hasKm ? km : -1;
            c.lastReminded = ct.date(i, 6);
        }
        if (hasKm) {
            ++c.withKm;
            if (!c.firstWithKm.valid() || c.firstWithKm.newerThan(visit)) {
                c.firstWithKm = visit;
                c.firstKm = km;
            }
            if (visit.newerThan(c.lastWithKm)) {
                c.lastWithKm = visit;
                c.lastKmSeen = km;
            }
        }
        if ((!ct.isNull(i, 4) || !ct.isNull(i, 5)) && visit.newerThan(c.setter)) {
            c.setter = visit;
            c.nextDate = ct.date(i, 4);
            c.nextKm = ct.isNull(i, 5) ? -1 : ct.integer(i, 5);
            c.setterReminded = ct.date(i, 6);
        }
    }

    std::unordered_map<int, Reminder> due;
    for (const auto& [car, visits] : cars) {
        Reminder r;
        r.car = car;
        if (judge(visits, terms, r)) due.emplace(car, std::move(r));
    }

    QList<Reminder> out;
    out.reserve(qsizetype(due.size()));
    if (!due.empty()) {
        q.setSQL({QStringLiteral("SELECT pk_id, owner, phone, dev, mod, gnum, region FROM Cars")});
        q.open();
        const fb::RowSet& cr = q.rows();
        for (int i = 0; i < cr.rowCount(); ++i) {
            const auto it = due.find(int(cr.integer(i, 0)));
            if (it == due.end()) continue;
            setCarFields(cr, i, 1, it->second);
            out.push_back(std::move(it->second));
        }
        q.close();
    }
    return out;
}

// With step 8: the facts kept per car (Car_Visits, the car's shown fields
// with them), of the cars that may be due. The engine's filter lets through every car the judgement below may
// take (a few days and kilometres to spare for the month ends and the
// rounding of the estimate); the judgement decides.
QList<Reminder> dueFromCarVisits(fb::Connection& db, fb::Transaction& tr, const ReminderTerms& t, bool shown) {
    fb::Query q(&db, &tr);
    q.setSQL(dueCarsStatement(shown));
    bindDueCars(q, t);
    q.open();
    const fb::RowSet rows = q.takeRows();

    QList<Reminder> out;
    out.reserve(rows.rowCount());
    for (int i = 0; i < rows.rowCount(); ++i) {
        CarVisits v;
        v.last = {rows.date(i, 1), int(rows.integer(i, 2))};
        v.lastKm = rows.isNull(i, 3) ? -1 : rows.integer(i, 3);
        v.lastReminded = rows.date(i, 4);
        v.withKm = int(rows.integer(i, 5));
        if (v.withKm > 0) {
            // Only their dates matter here: any key marks them as there.
            v.firstWithKm = {rows.date(i, 6), 1};
            v.firstKm = rows.integer(i, 7);
            v.lastWithKm = {rows.date(i, 8), 1};
            v.lastKmSeen = rows.integer(i, 9);
        }
        if (!rows.isNull(i, 10)) {
            v.setter = {QDate(), int(rows.integer(i, 10))};
            v.nextDate = rows.date(i, 11);
            v.nextKm = rows.isNull(i, 12) ? -1 : rows.integer(i, 12);
            v.setterReminded = rows.date(i, 13);
        }
        Reminder r;
        r.car = int(rows.integer(i, 0));
        if (!judge(v, t, r)) continue;
        if (shown) setCarFields(rows, i, 14, r);
        else r.shownRead = false;
        out.push_back(std::move(r));
    }
    return out;
}

}  // namespace

QStringList dueCarsStatement(bool shownFields) {
    return {QStringLiteral("SELECT v.cr_fk, v.last_date, v.last_key, v.last_km, v.last_reminded, v.km_visits,"),
              QStringLiteral(" v.first_km_date, v.first_km, v.latest_km_date, v.latest_km,"),
              QStringLiteral(" v.next_key, v.next_date, v.next_km, v.next_reminded"),
              shownFields ? QStringLiteral(", v.owner, v.phone, v.dev, v.mod, v.gnum, v.region FROM Car_Visits v")
                          : QStringLiteral(" FROM Car_Visits v"),
              QStringLiteral("WHERE (v.next_key IS NULL AND v.last_date <= :last_by) OR v.next_date <= :due_by"),
              QStringLiteral(" OR (v.km_visits >= 2 AND v.latest_km_date > v.first_km_date"),
              QStringLiteral("  AND v.latest_km + IIF(v.latest_km > v.first_km, v.latest_km - v.first_km, 0)"),
              QStringLiteral("   * CAST(DATEDIFF(DAY FROM v.latest_km_date TO CAST(:today AS DATE)) AS DOUBLE PRECISION)"),
              QStringLiteral("   / DATEDIFF(DAY FROM v.first_km_date TO v.latest_km_date)"),
              QStringLiteral("   >= IIF(v.next_key IS NULL, v.last_km + :service_km, v.next_km) - :km_ahead)")};
}

void bindDueCars(fb::Query& q, const ReminderTerms& t) {
    const QDate dueBy = t.today.addDays(std::max(t.days, -1));
    q.setDate(QStringLiteral("last_by"), dueBy.addMonths(-t.months).addDays(4));
    q.setDate(QStringLiteral("due_by"), dueBy);
    q.setDate(QStringLiteral("today"), t.today);
    q.setInteger(QStringLiteral("service_km"), t.km);
    q.setInteger(QStringLiteral("km_ahead"), std::max(t.kmAhead, 0) + 2);
}

QList<Reminder> dueForService(fb::Connection& db, fb::Transaction& tr, const ReminderTerms& terms,
                              bool shownFields) {
    QList<Reminder> out =
        hasSchema(8) ? dueFromCarVisits(db, tr, terms, shownFields) : dueFromContracts(db, tr, terms);
    sortDue(out);
    return out;
}

// A page of cars at a time, by key: one prepared statement for any page (the
// keys it is not given stay NULL and match nothing).
void readShownFields(fb::Connection& db, fb::Transaction& tr, QList<Reminder>& rows, qsizetype from,
                     qsizetype to) {
    constexpr int kPage = 64;
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, rows.size());
    fb::Query q(&db, &tr);
    QStringList keys;
    for (int k = 0; k < kPage; ++k) keys << QStringLiteral(":k%1").arg(k);
    q.setSQL({QStringLiteral("SELECT cr_fk, owner, phone, dev, mod, gnum, region FROM Car_Visits"),
              QStringLiteral("WHERE cr_fk IN (%1)").arg(keys.join(u','))});
    qsizetype i = from;
    while (i < to) {
        std::unordered_map<int, qsizetype> page;
        for (; i < to && int(page.size()) < kPage; ++i)
            if (!rows[i].shownRead) page.emplace(rows[i].car, i);
        if (page.empty()) continue;
        int k = 0;
        for (const auto& [car, row] : page) q.setInteger(QStringLiteral("k%1").arg(k++), car);
        for (; k < kPage; ++k) q.setNull(QStringLiteral("k%1").arg(k));
        q.open();
        const fb::RowSet& got = q.rows();
        for (int g = 0; g < got.rowCount(); ++g) {
            const auto it = page.find(int(got.integer(g, 0)));
            if (it != page.end()) setCarFields(got, g, 1, rows[it->second]);
        }
        // A car gone since the list was read shows empty fields.
        for (const auto& [car, row] : page) rows[row].shownRead = true;
        q.close();
    }
}

void markReminded(fb::Connection& db, fb::Transaction& tr, int contract, const QDate& date) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("UPDATE Contracts SET reminded = :reminded WHERE pk_id = :pk_id")});
    q.setDate(QStringLiteral("reminded"), date);
    q.setInteger(QStringLiteral("pk_id"), contract);
    try {
        q.execSQL();
        if (q.rowsAffected() != 1)
            throw fb::Error(QStringLiteral("Договор %1 не найден: его удалили на другом рабочем месте.").arg(contract));
        tr.commit();
    } catch (...) {
        if (!tr.inUnit()) {
            try {
                tr.rollback();
            } catch (...) {
            }
        }
        throw;
    }
}

QStringList reminderHeader() {
    return {QStringLiteral("ВЛАДЕЛЕЦ"),       QStringLiteral("ТЕЛЕФОН"),      QStringLiteral("МАРКА, МОДЕЛЬ"),
            QStringLiteral("ГОС. НОМЕР"),     QStringLiteral("ПОСЛЕДНИЙ ВИЗИТ"), QStringLiteral("ПРОБЕГ ТОГДА"),
            QStringLiteral("ПРОБЕГ СЕЙЧАС"),  QStringLiteral("ТО: ДАТА"),     QStringLiteral("ТО: ПРОБЕГ"),
            QStringLiteral("СОСТОЯНИЕ"),      QStringLiteral("ПОЗВОНИЛИ")};
}

QList<bool> reminderNumberColumns() {
    return {false, false, false, false, false, true, true, false, true, false, false};
}

QString reminderStatus(const Reminder& r) {
    return r.overdue ? QStringLiteral("ПРОСРОЧЕНО") : QStringLiteral("СКОРО");
}

QStringList reminderRow(const Reminder& r) {
    return {r.owner,          r.phone,           r.model,           r.plate,
            dateText(r.lastVisit), kmText(r.lastKm), kmText(r.estimatedKm), dateText(r.dueDate),
            kmText(r.dueKm),  reminderStatus(r), dateText(r.reminded)};
}

}  // namespace app
