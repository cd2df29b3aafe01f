#include "tools/PaymentReports.h"

#include "app/Login.h"
#include "app/PaymentReports.h"
#include "app/SchemaSteps.h"
#include "fb/Connection.h"
#include "fb/Transaction.h"
#include "rtl/Convert.h"

#include <QTextStream>

#include <cstdio>
#include <exception>

namespace tools {

ReportTable debtsTable(fb::Connection& db, fb::Transaction& tr) {
    ReportTable t;
    t.header = {QStringLiteral("ВЛАДЕЛЕЦ"), QStringLiteral("ТЕЛЕФОН"), QStringLiteral("ДОГОВОРОВ"),
                QStringLiteral("С"), QStringLiteral("К ОПЛАТЕ")};
    t.rightAligned = {false, false, true, false, true};
    const std::vector<app::Debtor> list = app::debtors(db, tr);
    for (const app::Debtor& d : list)
        t.rows.append({d.owner, d.phone, QString::number(d.contracts.size()), rtl::DateToStr(d.oldest),
                       app::moneyText(d.due)});
    t.totals.append({QStringLiteral("ИТОГО"), QString(), QString(), QString(), app::moneyText(app::debtTotal(list))});
    return t;
}

ReportTable cashTable(fb::Connection& db, fb::Transaction& tr, const QDate& from, const QDate& to) {
    ReportTable t;
    t.header = {QStringLiteral("ДАТА"), QStringLiteral("ДОГОВОР"), QStringLiteral("ВЛАДЕЛЕЦ"), QStringLiteral("СПОСОБ"),
                QStringLiteral("СУММА"), QStringLiteral("ПРИМЕЧАНИЕ")};
    t.rightAligned = {false, true, false, false, true, false};
    const app::Cash c = app::cash(db, tr, from, to);
    for (const app::CashRow& r : c.rows)
        t.rows.append({rtl::DateToStr(r.date), r.num, r.owner, r.method, app::moneyText(r.amount), r.note});
    for (const auto& [method, sum] : c.byMethod)
        t.totals.append({QStringLiteral("ИТОГО"), QString(), QString(), method, app::moneyText(sum), QString()});
    t.totals.append({QStringLiteral("ВСЕГО"), QString(), QString(), QString(), app::moneyText(c.total), QString()});
    return t;
}

int paymentReportCommand(const QStringList& args) {
    if (args.isEmpty() || (args[0] != QLatin1String("debts") && args[0] != QLatin1String("cash"))) return -1;
    const bool debts = args[0] == QLatin1String("debts");
    const auto fail = [](const QString& why) {
        std::fprintf(stderr, "torquil-db: %s\n", qPrintable(why));
        return 2;
    };
    if (args.size() < 2) return fail(QStringLiteral("report %1 needs a database").arg(args[0]));
    bool csv = false;
    QDate from, to;
    for (int i = 2; i < args.size(); ++i) {
        const QString& o = args[i];
        if (o == QLatin1String("--csv")) {
            csv = true;
        } else if (!debts && (o == QLatin1String("--from") || o == QLatin1String("--to")) && i + 1 < args.size()) {
            try {
                (o == QLatin1String("--from") ? from : to) = rtl::StrToDate(args[++i]);
            } catch (const std::exception&) {
                return fail(QStringLiteral("%1 needs a date dd.mm.yyyy, not '%2'").arg(o, args[i]));
            }
        } else {
            return fail(QStringLiteral("unknown option '%1'").arg(o));
        }
    }
    if (!debts && (!from.isValid() || !to.isValid())) return fail(QStringLiteral("report cash needs --from and --to"));
    try {
        fb::Connection db;
        db.databaseName = args[1];
        app::attachWithRole(db);
        if (app::schemaVersion(db) < 2) return fail(QStringLiteral("the database has no payments (version below 2)"));
        fb::Transaction tr(&db);
        const ReportTable t = debts ? debtsTable(db, tr) : cashTable(db, tr, from, to);
        QTextStream(stdout) << reportText(t, csv);
        tr.commit();
        db.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torquil-db: %s\n", qPrintable(QString::fromUtf8(e.what()).replace(u'\r', u'\n')));
        return 1;
    }
    return 0;
}

}  // namespace tools
