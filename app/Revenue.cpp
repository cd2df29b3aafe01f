#include "app/Revenue.h"

#include "app/LineMoney.h"
#include "app/LineSums.h"
#include "fb/Cp1251.h"
#include "fb/Query.h"

#include <QHash>
#include <algorithm>

namespace app {

namespace {

const QString kPeriod = QStringLiteral("ct.c_date BETWEEN :d1 AND :d2");
const QString kMonthKey = QStringLiteral("EXTRACT(YEAR FROM ct.c_date) * 100 + EXTRACT(MONTH FROM ct.c_date)");

int monthKey(const QDate& d) { return d.year() * 100 + d.month(); }

const char* const kMonths[] = {"янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт", "ноя", "дек"};

// The months' labour and parts and the works' earnings from the lines
// themselves (a database without the sums kept per contract).
void monthsFromLines(fb::Connection& db, fb::Transaction& tr, const QDate& from, const QDate& to,
                     const QHash<int, int>& index, Revenue& rev, QHash<QString, WorkEarning>& works) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT %1 AS ym, COUNT(*) AS n").arg(kMonthKey),
              QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id"),
              QStringLiteral("WHERE ") + kPeriod, QStringLiteral("GROUP BY 1")});
    q.setDate(QStringLiteral("d1"), from);
    q.setDate(QStringLiteral("d2"), to);
    q.open();
    for (int i = 0; i < q.rows().rowCount(); ++i)
        if (const auto it = index.find(int(q.rows().integer(i, 0))); it != index.end())
            rev.months[size_t(*it)].contracts = int(q.rows().integer(i, 1));
    q.close();

    // Spare parts by month; the works in one pass by month and name, which
    // gives both the months' labour and the works that brought in most.
    const QHash<QString, LineSums> sums = lineSums(db, tr, kMonthKey, kPeriod, from, to, nullptr, LineKinds::SparesOnly);
    for (auto it = sums.begin(); it != sums.end(); ++it)
        if (const auto m = index.find(it.key().toInt()); m != index.end()) rev.months[size_t(*m)].parts = it->parts;
    q.setSQL({QStringLiteral("SELECT %1 AS ym, w.name, w.price, COUNT(*) AS n").arg(kMonthKey),
              QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id"),
              // "+ 0": the period's contracts first, then their lines (see LineSums).
              QStringLiteral("INNER JOIN CT_Works w ON w.ct_fk = ct.pk_id + 0"), QStringLiteral("WHERE ") + kPeriod,
              QStringLiteral("GROUP BY 1, 2, 3")});
    q.setDate(QStringLiteral("d1"), from);
    q.setDate(QStringLiteral("d2"), to);
    q.open();
    for (int i = 0; i < q.rows().rowCount(); ++i) {
        const qint64 count = q.rows().integer(i, 3);
        const rtl::Money amount = repeated(rtl::Money::fromDouble(q.rows().number(i, 2)), count);
        WorkEarning& w = works[q.rows().text(i, 1)];
        w.name = q.rows().text(i, 1);
        w.lines += int(count);
        w.amount += amount;
        if (const auto m = index.find(int(q.rows().integer(i, 0))); m != index.end())
            rev.months[size_t(*m)].labour += amount;
    }
    q.close();
}

}  // namespace

rtl::Money MonthFigures::average() const {
    if (contracts == 0) return {};
    const std::int64_t units = total().units();
    // To the kopeck: hundreds of units, ties to even.
    const __int128 n = units, d = __int128(contracts) * 100;
    __int128 q = n / d, r = n % d;
    if (r < 0) r = -r;
    if (2 * r > d || (2 * r == d && q % 2 != 0)) q += n < 0 ? -1 : 1;
    return rtl::Money::fromUnits(std::int64_t(q * 100));
}

QDate Revenue::to() const {
    return months.empty() ? QDate() : months.back().month.addMonths(1).addDays(-1);
}

QString monthCaption(const QDate& month) {
    return QString::fromUtf8(kMonths[month.month() - 1]) + u' ' + QString::number(month.year());
}

Revenue revenue(fb::Connection& db, fb::Transaction& tr, const QDate& last, bool withPayments, int months) {
    Revenue rev;
    if (withPayments) {
        // Before the steps are merged in order a newer version may lack the table.
        fb::Query t(&db, &tr);
        t.setSQL({QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'PAYMENTS'")});
        t.open();
        withPayments = t.rows().integer(0, 0) > 0;
        t.close();
    }
    rev.withPaid = withPayments;
    const QDate first = QDate(last.year(), last.month(), 1).addMonths(1 - months);
    QHash<int, int> index;
    for (int i = 0; i < months; ++i) {
        MonthFigures m;
        m.month = first.addMonths(i);
        index.insert(monthKey(m.month), i);
        rev.months.push_back(m);
    }
    const QDate from = rev.from(), to = rev.to();

    fb::Query q(&db, &tr);
    QHash<QString, WorkEarning> works;
    if (const auto kept = keptSums(db, tr, kMonthKey, kPeriod, from, to)) {
        // The months from the sums kept with each contract; the works that
        // brought in most summed and ranked by the engine, ten rows read.
        for (auto it = kept->begin(); it != kept->end(); ++it)
            if (const auto m = index.find(it.key().toInt()); m != index.end()) {
                rev.months[size_t(*m)].contracts = it->contracts;
                rev.months[size_t(*m)].labour = it->labour;
                rev.months[size_t(*m)].parts = it->parts;
            }
        // The period's work lines added up here by name: a plain read of the
        // lines costs less than the engine's sort of them by name.
        // A contract's car is not looked up for each of its lines here: a
        // car with contracts is never deleted, so having one is enough.
        q.setSQL({QStringLiteral("SELECT w.name, w.price FROM Contracts ct"),
                  QStringLiteral("INNER JOIN CT_Works w ON w.ct_fk = ct.pk_id + 0"),
                  QStringLiteral("WHERE ct.cr_fk IS NOT NULL AND ") + kPeriod});
        q.setDate(QStringLiteral("d1"), from);
        q.setDate(QStringLiteral("d2"), to);
        q.open();
        QHash<QByteArray, WorkEarning> byName;
        const fb::RowSet& lines = q.rows();
        for (int i = 0; i < lines.rowCount(); ++i) {
            WorkEarning& w = byName[lines.bytes(i, 0).toByteArray()];
            w.lines += 1;
            w.amount += rtl::Money::fromDouble(lines.number(i, 1));
        }
        for (auto it = byName.begin(); it != byName.end(); ++it) {
            const QString name = fb::fromCp1251(it.key().constData(), it.key().size());
            it->name = name;
            works.insert(name, *it);
        }
        q.close();
    } else {
        monthsFromLines(db, tr, from, to, index, rev, works);
    }

    if (rev.withPaid) {
        // Amounts are NUMERIC(18,2): summed by the engine exactly, read in kopecks.
        q.setSQL({QStringLiteral("SELECT EXTRACT(YEAR FROM p_date) * 100 + EXTRACT(MONTH FROM p_date) AS ym,"),
                  QStringLiteral("CAST(SUM(CASE WHEN method = :refund THEN -amount ELSE amount END) * 100 AS BIGINT)"),
                  QStringLiteral("FROM Payments WHERE p_date BETWEEN :d1 AND :d2 GROUP BY 1")});
        q.setString(QStringLiteral("refund"), QStringLiteral("ВОЗВРАТ"));
        q.setDate(QStringLiteral("d1"), from);
        q.setDate(QStringLiteral("d2"), to);
        q.open();
        for (int i = 0; i < q.rows().rowCount(); ++i)
            if (const auto it = index.find(int(q.rows().integer(i, 0))); it != index.end())
                rev.months[size_t(*it)].paid = rtl::Money::fromUnits(q.rows().integer(i, 1) * 100);
        q.close();
    }

    rev.topWorks.assign(works.begin(), works.end());
    std::sort(rev.topWorks.begin(), rev.topWorks.end(), [](const WorkEarning& a, const WorkEarning& b) {
        return a.amount.units() != b.amount.units() ? a.amount.units() > b.amount.units() : a.name < b.name;
    });
    if (rev.topWorks.size() > 10) rev.topWorks.resize(10);
    return rev;
}

}  // namespace app
