#include "app/PaymentReports.h"

#include "app/Payments.h"
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
    for (int r = 0; r < rs.rowCount(); ++r)
        out.insert(int(rs.integer(r, 0)), ContractMoney{units(rs.scaledInteger(r, 1, -4)), units(rs.scaledInteger(r, 2, -4))});
    return out;
}

std::vector<Debtor> debtors(fb::Connection& db, fb::Transaction& tr) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT ct.pk_id, ct.num, ct.c_date, cr.owner, cr.phone, %1 AS total, %2 AS paid")
                  .arg(totalSql(QStringLiteral("ct.pk_id")), paidSql(QStringLiteral("ct.pk_id"))),
              QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id")});
    q.open();
    const fb::RowSet& rs = q.rows();
    std::map<std::pair<QString, QString>, Debtor> byCustomer;
    for (int r = 0; r < rs.rowCount(); ++r) {
        const rtl::Money due = minus(units(rs.scaledInteger(r, 5, -4)), units(rs.scaledInteger(r, 6, -4)));
        if (due.units() <= 0) continue;
        const QString owner = rs.text(r, 3), phone = rs.text(r, 4);
        Debtor& d = byCustomer[{owner, phone}];
        d.owner = owner;
        d.phone = phone;
        d.due += due;
        const QDate date = rs.date(r, 2);
        if (!d.oldest.isValid() || (date.isValid() && date < d.oldest)) d.oldest = date;
        d.contracts.push_back(DebtContract{int(rs.integer(r, 0)), rs.text(r, 1), date, due});
    }
    std::vector<Debtor> list;
    list.reserve(byCustomer.size());
    for (auto& [key, d] : byCustomer) {
        std::sort(d.contracts.begin(), d.contracts.end(),
                  [](const DebtContract& a, const DebtContract& b) { return a.date < b.date || (a.date == b.date && a.id < b.id); });
        list.push_back(std::move(d));
    }
    std::stable_sort(list.begin(), list.end(), [](const Debtor& a, const Debtor& b) { return b.due.units() < a.due.units(); });
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
