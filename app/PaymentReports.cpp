#include "app/PaymentReports.h"

#include "app/Payments.h"
#include "app/SchemaUpgrade.h"
#include "fb/Query.h"

#include <algorithm>

namespace app {

namespace {

rtl::Money units(qint64 u) {
    if (u > rtl::Money::kMaxUnits || u < -rtl::Money::kMaxUnits) throw rtl::MoneyRangeError(QString::number(u / 10000));
    return rtl::Money::fromUnits(u);
}

}  // namespace

rtl::Money ContractMoney::due() const { return minus(total, paid); }

QString moneyText(rtl::Money m) {
    const qint64 u = m.units();
    if (u % 100 != 0) return m.toString();
    const qint64 a = u < 0 ? -u : u;
    return (u < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10000) + u',' +
           QStringLiteral("%1").arg((a % 10000) / 100, 2, 10, QLatin1Char('0'));
}

QHash<int, ContractMoney> contractMoney(fb::Connection& db, fb::Transaction& tr, const QDate& d1, const QDate& d2) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT ct.pk_id, %1 AS total, %2 AS paid FROM Contracts ct")
                  .arg(totalSql(QStringLiteral("ct.pk_id")), paidSql(QStringLiteral("ct.pk_id"))),
              QStringLiteral("WHERE ct.c_date BETWEEN :d1 AND :d2")});
    q.setDate(QStringLiteral("d1"), d1);
    q.setDate(QStringLiteral("d2"), d2);
    q.open();
    const fb::RowSet& rs = q.rows();
    QHash<int, ContractMoney> out;
    out.reserve(rs.rowCount());
    for (int r = 0; r < rs.rowCount(); ++r) {
        const qint64 total = rs.scaledInteger(r, 1, -4);
        const bool known = total <= rtl::Money::kMaxUnits && total >= -rtl::Money::kMaxUnits;
        out.insert(int(rs.integer(r, 0)),
                   ContractMoney{known ? units(total) : rtl::Money(), units(rs.scaledInteger(r, 2, -4)), known});
    }
    return out;
}

bool contractSumsKept() { return hasSchema(6); }

std::vector<Debtor> debtors(fb::Connection& db, fb::Transaction& tr) {
    fb::Query q(&db, &tr);
    // With the kept sums the engine leaves out what is paid (and a contract
    // whose line is past the money limit: its sum is unknown, as in the
    // editor); otherwise every contract's lines and payments are summed.
    // "+ 0" on both keys makes the engine hash the cars once instead of
    // looking each debt's car up in the index (measured: half the time at
    // 100,000 contracts, two in three of them owing).
    const bool kept = contractSumsKept();
    if (kept)
        q.setSQL({QStringLiteral("SELECT ct.pk_id, ct.num, ct.c_date, cr.owner, cr.phone,"),
                  QStringLiteral("ct.works_sum + ct.spares_sum - ct.paid_sum AS due"),
                  QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk + 0 = cr.pk_id + 0"),
                  QStringLiteral("WHERE ct.works_sum + ct.spares_sum - ct.paid_sum > 0")});
    else
        q.setSQL({QStringLiteral("SELECT ct.pk_id, ct.num, ct.c_date, cr.owner, cr.phone, %1 AS total, %2 AS paid")
                      .arg(totalSql(QStringLiteral("ct.pk_id")), paidSql(QStringLiteral("ct.pk_id"))),
                  QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id")});
    q.open();
    const fb::RowSet& rs = q.rows();
    // Customers are told apart by the stored bytes of owner and phone; their
    // texts are made once per customer.
    std::vector<Debtor> list;
    QHash<QByteArray, int> byCustomer;
    QByteArray key;
    for (int r = 0; r < rs.rowCount(); ++r) {
        const qint64 total = kept ? 0 : rs.scaledInteger(r, 5, -4);
        if (total > rtl::Money::kMaxUnits) continue;  // no total, as in the journal
        const rtl::Money due = kept ? units(rs.scaledInteger(r, 5, -4))
                                    : minus(units(total), units(rs.scaledInteger(r, 6, -4)));
        if (due.units() <= 0) continue;
        key.clear();
        key.append(rs.bytes(r, 3)).append('\0').append(rs.bytes(r, 4));
        auto it = byCustomer.constFind(key);
        if (it == byCustomer.cend()) {
            it = byCustomer.insert(key, int(list.size()));
            list.push_back(Debtor{rs.text(r, 3), rs.text(r, 4), {}, {}, {}});
        }
        Debtor& d = list[size_t(*it)];
        d.due += due;
        const QDate date = rs.date(r, 2);
        if (!d.oldest.isValid() || (date.isValid() && date < d.oldest)) d.oldest = date;
        d.contracts.push_back(DebtContract{int(rs.integer(r, 0)), rs.text(r, 1), date, due});
    }
    for (Debtor& d : list)
        if (d.contracts.size() > 1)
            std::sort(d.contracts.begin(), d.contracts.end(), [](const DebtContract& a, const DebtContract& b) {
                return a.date < b.date || (a.date == b.date && a.id < b.id);
            });
    std::sort(list.begin(), list.end(), [](const Debtor& a, const Debtor& b) {
        if (a.due.units() != b.due.units()) return b.due.units() < a.due.units();
        return a.owner < b.owner || (a.owner == b.owner && a.phone < b.phone);
    });
    return list;
}

rtl::Money debtTotal(const std::vector<Debtor>& list) {
    rtl::Money total;
    for (const Debtor& d : list) total += d.due;
    return total;
}

Cash cash(fb::Connection& db, fb::Transaction& tr, const QDate& from, const QDate& to) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT p.p_date, p.method, p.amount, p.note, ct.num, cr.owner FROM Payments p"),
              QStringLiteral("LEFT JOIN Contracts ct ON ct.pk_id = p.ct_fk LEFT JOIN Cars cr ON cr.pk_id = ct.cr_fk"),
              QStringLiteral("WHERE p.p_date BETWEEN :d1 AND :d2 ORDER BY p.p_date, p.pk_id")});
    q.setDate(QStringLiteral("d1"), from);
    q.setDate(QStringLiteral("d2"), to);
    q.open();
    const fb::RowSet& rs = q.rows();
    Cash c;
    c.rows.reserve(size_t(rs.rowCount()));
    for (int r = 0; r < rs.rowCount(); ++r) {
        CashRow row;
        row.date = rs.date(r, 0);
        row.method = rs.text(r, 1);
        row.amount = units(rs.scaledInteger(r, 2, -4));
        if (row.method == refundMethod()) row.amount = minus(rtl::Money(), row.amount);
        row.note = rs.text(r, 3);
        row.num = rs.text(r, 4);
        row.owner = rs.text(r, 5);
        c.byMethod[row.method] += row.amount;
        c.total += row.amount;
        c.rows.push_back(row);
    }
    return c;
}

}  // namespace app
