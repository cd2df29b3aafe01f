#include "tools/MechanicsReport.h"

#include "app/Login.h"
#include "app/MechanicPay.h"
#include "app/OwnerSchema.h"
#include "app/SchemaSteps.h"
#include "fb/Connection.h"
#include "fb/Transaction.h"
#include "rtl/Convert.h"
#include "tools/ReportTable.h"

#include <QTextStream>
#include <cstdio>
#include <exception>

namespace tools {

namespace {

int refuse(const QString& why) {
    std::fprintf(stderr, "torquil-db: %s\nusage: torquil-db report mechanics DATABASE --from dd.mm.yyyy --to dd.mm.yyyy [--csv]\n",
                 qPrintable(why));
    return 2;
}

}  // namespace

int mechanicsReportCommand(const QStringList& args) {
    if (args.isEmpty()) return refuse(QStringLiteral("a database path is needed"));
    const QString path = args[0];
    QString from, to;
    bool csv = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& o = args[i];
        if (o == QLatin1String("--csv")) csv = true;
        else if ((o == QLatin1String("--from") || o == QLatin1String("--to")) && i + 1 < args.size())
            (o == QLatin1String("--from") ? from : to) = args[++i];
        else return refuse(QStringLiteral("unknown or incomplete option '%1'").arg(o));
    }
    if (from.isEmpty() || to.isEmpty()) return refuse(QStringLiteral("--from and --to are needed"));
    try {
        const QDate d1 = rtl::StrToDate(from), d2 = rtl::StrToDate(to);
        app::requirePeriod(d1, d2);
        fb::Connection db;
        db.databaseName = path;
        app::attachWithRole(db);
        app::MechanicPay pay;
        {
            fb::Transaction tr(&db);
            const bool rates = app::schemaVersion(db) >= app::kMechanicRateStep;
            pay = app::mechanicPay(db, tr, d1, d2, rates);
        }
        db.close();
        ReportTable table;
        table.header = app::mechanicPayHeader();
        table.rightAligned = {false, true, true, true, true, true};
        for (const app::MechanicPayRow& row : pay.rows) table.rows << app::mechanicPayTexts(row);
        table.totals << app::mechanicPayTexts(pay.totals);
        QTextStream(stdout) << reportText(table, csv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torquil-db: %s\n", qPrintable(QString::fromUtf8(e.what()).replace(u'\r', u'\n')));
        return 1;
    }
    return 0;
}

}  // namespace tools
