// torquil-db: creates the program's databases.
//   torquil-db create PATH                       an empty database from the schema
//   torquil-db demo PATH                         the schema and believable demo data
//   torquil-db bench PATH [--contracts N] [--cars M] [--works W] [--spares S]
//   torquil-db backup DATABASE FILE              a checked backup (the database may be in use)
//   torquil-db restore FILE DATABASE             a checked restore into a new database
//   torquil-db version DATABASE                  the schema's version of the database
//   torquil-db upgrade DATABASE                  a checked backup beside it, then the newer schema
//   torquil-db report debts|cash DATABASE …      the debtors, the cash of a period (tools/PaymentReports.h)
//   torquil-db server-setup DATABASE             a server's database: roles checked, configuration printed
//   torquil-db user add DATABASE NAME --role owner|clerk, user passwd|drop DATABASE NAME, user list DATABASE
//   torquil-db report NAME DATABASE [...] [--csv] one of the shop's reports (tools/report_command.cpp)
//   torquil-db report mechanics DATABASE --from dd.mm.yyyy --to dd.mm.yyyy [--csv]
//   torquil-db order|act DATABASE NUMBER FILE    a contract's work order or acceptance act as PDF
// On a server the administrator's login comes from ISC_USER / ISC_PASSWORD,
// or is asked for on the terminal.
#include "app/BackupCheck.h"
#include "app/Login.h"
#include "app/SchemaSteps.h"
#include "app/SchemaUpgrade.h"
#include "fb/Client.h"
#include "tools/DbTools.h"
#include "tools/PaymentReports.h"
#include "tools/UserCommand.h"
#include "tools/ReportCommand.h"
#include "tools/MechanicsReport.h"
#include "tools/OrderPdf.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <exception>

namespace {

int usage(const QString& why) {
    QTextStream err(stderr);
    if (!why.isEmpty()) err << "torquil-db: " << why << "\n";
    err << "usage:\n"
           "  torquil-db create PATH\n"
           "  torquil-db demo PATH\n"
           "  torquil-db bench PATH [--contracts N] [--cars M] [--works W] [--spares S]\n"
           "  torquil-db backup DATABASE FILE\n"
           "  torquil-db restore FILE DATABASE\n"
           "  torquil-db version DATABASE\n"
           "  torquil-db upgrade DATABASE\n"
           "  torquil-db report debts DATABASE [--csv]\n"
           "  torquil-db report cash DATABASE --from dd.mm.yyyy --to dd.mm.yyyy [--csv]\n"
           "  torquil-db server-setup DATABASE\n"
           "  torquil-db user add DATABASE NAME --role owner|clerk\n"
           "  torquil-db user passwd|drop DATABASE NAME\n"
           "  torquil-db user list DATABASE\n"
           "  torquil-db order DATABASE NUMBER FILE.pdf\n"
           "  torquil-db act DATABASE NUMBER FILE.pdf\n"
        << tools::reportUsage()
        << "  torquil-db report mechanics DATABASE --from dd.mm.yyyy --to dd.mm.yyyy [--csv]\n";
    return 2;
}

// backup / restore: each stage as it begins, then the check; 0 only when
// the copy was made and every table holds the rows it should.
int copyCommand(const QString& cmd, const QString& from, const QString& to) {
    QTextStream out(stdout);
    QString last;
    auto progress = [&out, &last](int percent, const QString& stage) {
        if (stage == last) return;
        last = stage;
        out << percent << "% " << stage << Qt::endl;
    };
    try {
        const bool backup = cmd == QLatin1String("backup");
        const app::CopyCheck check = backup ? app::backupDatabase(from, to, progress) : app::restoreDatabase(from, to, progress);
        out << check.report() << Qt::endl;
        if (!check.ok()) {
            std::fprintf(stderr, backup ? "torquil-db: the check failed: the row counts differ; nothing was replaced\n"
                                        : "torquil-db: the check failed: the row counts differ; the database was dropped\n");
            return 1;
        }
        if (!check.verified)
            std::fprintf(stderr, "torquil-db: warning: %s has no record beside it; its content could not be verified\n",
                         qPrintable(from));
        out << (backup ? "backup " : "restore ") << to << (check.verified ? " checked" : " restored unverified") << Qt::endl;
    } catch (const std::exception& e) {
        // Texts for a clerk break their lines with "\r".
        std::fprintf(stderr, "torquil-db: %s\n", qPrintable(QString::fromUtf8(e.what()).replace(u'\r', u'\n')));
        return 1;
    }
    return 0;
}

// version / upgrade: on a database that exists (a file or a server's).
int schemaCommand(const QString& cmd, const QString& path) {
    QTextStream out(stdout);
    try {
        fb::Connection db;
        db.databaseName = path;
        app::attachWithRole(db);
        if (cmd == QLatin1String("version")) {
            const int version = app::schemaVersion(db);
            out << version;
            if (version > app::newestSchemaVersion())
                out << " (newer than this program's " << app::newestSchemaVersion() << ")";
            out << Qt::endl;
            return 0;
        }
        const QString copy = app::upgradeCopyPath(path, app::schemaVersion(db));
        const app::SchemaUpgrade up = app::upgradeAttached(db, copy);
        if (up.readOnly) {
            std::fprintf(stderr, "torquil-db: the database is read-only; it stays at version %d\n", up.before);
            return 1;
        }
        if (up.copy.isEmpty()) out << "version " << up.after << ": nothing to do" << Qt::endl;
        else out << "backup " << up.copy << " checked" << Qt::endl << "version " << up.before << " -> " << up.after << Qt::endl;
        db.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torquil-db: %s\n", qPrintable(QString::fromUtf8(e.what()).replace(u'\r', u'\n')));
        return 1;
    }
    return 0;
}

int run(const QCoreApplication& app);

}  // namespace

// The engine is shut down before the process ends, whatever the command
// did: its threads must not outlive main (after a failed service run one of
// them crashed the exit).
int main(int argc, char** argv) {
    if (tools::isOrderCommand(argc, argv)) return tools::orderCommand(argc, argv);
    QCoreApplication app(argc, argv);
    const int status = run(app);
    fb::shutdownClient();
    return status;
}

namespace {

int run(const QCoreApplication& app) {
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("report")) if (const int s = tools::paymentReportCommand(args.mid(1)); s >= 0) return s;
    if (args.value(0) == QLatin1String("report") && args.value(1) == QLatin1String("mechanics")) return tools::mechanicsReportCommand(args.mid(2));
    if (args.size() < 2) return usage(args.isEmpty() ? QString() : QStringLiteral("a database path is needed"));
    const QString cmd = args[0];
    if (cmd == QLatin1String("report")) {
        QTextStream out(stdout), err(stderr);
        return tools::reportCommand(args.mid(1), out, err);
    }
    const QString path = args[1];
    if (cmd == QLatin1String("user")) return tools::userCommand(args.mid(1));
    if (!tools::adminLogin(path)) return 1;
    if (cmd == QLatin1String("server-setup")) {
        if (args.size() != 2) return usage(QStringLiteral("server-setup takes one database"));
        return tools::serverSetup(path);
    }
    if (cmd == QLatin1String("backup") || cmd == QLatin1String("restore")) {
        if (args.size() != 3) return usage(QStringLiteral("%1 needs two paths").arg(cmd));
        return copyCommand(cmd, args[1], args[2]);
    }
    if (cmd == QLatin1String("version") || cmd == QLatin1String("upgrade")) {
        if (args.size() != 2) return usage(QStringLiteral("%1 takes one database").arg(cmd));
        return schemaCommand(cmd, path);
    }
    if (cmd != QLatin1String("create") && cmd != QLatin1String("demo") && cmd != QLatin1String("bench"))
        return usage(QStringLiteral("unknown command '%1'").arg(cmd));

    tools::BenchSize size;
    for (int i = 2; i < args.size(); ++i) {
        if (cmd != QLatin1String("bench")) return usage(QStringLiteral("'%1' takes no options").arg(cmd));
        const QString opt = args[i];
        if (i + 1 >= args.size()) return usage(QStringLiteral("%1 needs a number").arg(opt));
        bool ok = false;
        const int v = args[++i].toInt(&ok);
        if (!ok || v < 0) return usage(QStringLiteral("%1 needs a whole number, not '%2'").arg(opt, args[i]));
        if (opt == QLatin1String("--contracts")) size.contracts = v;
        else if (opt == QLatin1String("--cars")) size.cars = v;
        else if (opt == QLatin1String("--works")) size.works = v;
        else if (opt == QLatin1String("--spares")) size.spares = v;
        else return usage(QStringLiteral("unknown option '%1'").arg(opt));
    }
    if (cmd == QLatin1String("bench") && size.contracts > 0 && size.cars == 0)
        return usage(QStringLiteral("contracts need at least one car"));
    if (!fb::Connection::isRemotePath(path) && QFileInfo::exists(path)) {
        std::fprintf(stderr, "torquil-db: %s already exists; remove it first\n", qPrintable(path));
        return 1;
    }
    try {
        fb::Connection db;
        tools::createDatabase(db, path);
        if (cmd == QLatin1String("demo")) tools::fillDemo(db, QDate::currentDate());
        if (cmd == QLatin1String("bench")) tools::fillBench(db, size);
        db.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torquil-db: %s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace
