#include "app/MechanicPay.h"

#include "app/LineMoney.h"
#include "app/LineSums.h"
#include "app/MechanicRate.h"
#include "fb/Query.h"
#include "rtl/Convert.h"

#include <QMap>
#include <cmath>

namespace app {

namespace {

const QString kPeriod = QStringLiteral("ct.c_date BETWEEN :d1 AND :d2");

// The first share recorded under each name (two mechanics may carry one).
QHash<QString, int> rates(fb::Connection& db, fb::Transaction& tr) {
    QHash<QString, int> r;
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT name, rate FROM meh WHERE rate IS NOT NULL ORDER BY pk_id")});
    q.open();
    const fb::RowSet& rows = q.rows();
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QString name = rows.text(i, 0);
        if (!r.contains(name)) r.insert(name, int(std::llround(rows.number(i, 1) * 100)));
    }
    q.close();
    return r;
}

}  // namespace

void requirePeriod(const QDate& from, const QDate& to) {
    if (to < from)
        throw rtl::ConvertError(QStringLiteral("Конец периода %1 раньше его начала %2")
                                    .arg(rtl::DateToStr(to), rtl::DateToStr(from)));
}

MechanicPay mechanicPay(fb::Connection& db, fb::Transaction& tr, const QDate& from, const QDate& to, bool withRates) {
    requirePeriod(from, to);
    QMap<QString, MechanicPayRow> byName;  // in name order
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT COALESCE(ct.meh, '') AS meh, COUNT(*) AS n"),
              QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id"),
              QStringLiteral("WHERE ") + kPeriod, QStringLiteral("GROUP BY 1")});
    q.setDate(QStringLiteral("d1"), from);
    q.setDate(QStringLiteral("d2"), to);
    q.open();
    for (int i = 0; i < q.rows().rowCount(); ++i) {
        MechanicPayRow& row = byName[q.rows().text(i, 0)];
        row.name = q.rows().text(i, 0);
        row.contracts = int(q.rows().integer(i, 1));
    }
    q.close();

    const QHash<QString, LineSums> sums =
        lineSums(db, tr, QStringLiteral("COALESCE(ct.meh, '')"), kPeriod, from, to);
    const QHash<QString, int> shares = withRates ? rates(db, tr) : QHash<QString, int>();
    MechanicPay pay;
    pay.totals.name = QStringLiteral("ИТОГО");
    for (MechanicPayRow& row : byName) {
        const LineSums s = sums.value(row.name);
        row.labour = s.labour;
        row.parts = s.parts;
        if (const auto it = shares.find(row.name); it != shares.end()) {
            row.rate = *it;
            row.pay = shareOf(row.labour, *it);
        }
        pay.totals.contracts += row.contracts;
        pay.totals.labour += row.labour;
        pay.totals.parts += row.parts;
        pay.totals.pay += row.pay;
        pay.rows.push_back(row);
    }
    return pay;
}

QStringList mechanicPayHeader() {
    return {QStringLiteral("Механик"), QStringLiteral("Договоров"), QStringLiteral("Работы"), QStringLiteral("Запчасти"),
            QStringLiteral("Ставка, %"), QStringLiteral("К выплате")};
}

QStringList mechanicPayTexts(const MechanicPayRow& row) {
    return {row.name, QString::number(row.contracts), row.labour.toString(), row.parts.toString(), rateText(row.rate),
            row.pay.toString()};
}

std::vector<MechanicContract> mechanicContracts(fb::Connection& db, fb::Transaction& tr, const QString& name,
                                                const QDate& from, const QDate& to) {
    requirePeriod(from, to);
    const QString where = kPeriod + QStringLiteral(" AND COALESCE(ct.meh, '') = :meh");
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT ct.pk_id, ct.num, ct.c_date, cr.dev, cr.mod, cr.owner"),
              QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id"),
              QStringLiteral("WHERE ") + where, QStringLiteral("ORDER BY ct.c_date, ct.num")});
    q.setDate(QStringLiteral("d1"), from);
    q.setDate(QStringLiteral("d2"), to);
    q.setString(QStringLiteral("meh"), name);
    q.open();
    const QHash<QString, LineSums> sums = lineSums(db, tr, QStringLiteral("ct.pk_id"), where, from, to, &name);
    std::vector<MechanicContract> list;
    const fb::RowSet& rows = q.rows();
    for (int i = 0; i < rows.rowCount(); ++i) {
        MechanicContract c;
        c.key = rows.text(i, 0);
        c.number = rows.text(i, 1);
        c.date = rows.date(i, 2);
        c.car = (rows.text(i, 3) + u' ' + rows.text(i, 4)).trimmed();
        c.owner = rows.text(i, 5);
        const LineSums s = sums.value(c.key);
        c.labour = s.labour;
        c.parts = s.parts;
        list.push_back(c);
    }
    q.close();
    return list;
}

}  // namespace app
