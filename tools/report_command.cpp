// The reports of torquil-db. Each is a line of kReports: its name, the
// whole-number options it takes with their defaults, and the function that
// makes its table from the database (the same rows its window shows).
#include "tools/ReportCommand.h"

#include "app/Login.h"
#include "app/Reminders.h"
#include "app/SchemaSteps.h"
#include "fb/Connection.h"
#include "fb/Transaction.h"
#include "tools/ReportTable.h"

#include <QDate>
#include <QHash>
#include <QTextStream>

#include <exception>
#include <functional>
#include <vector>

namespace tools {

namespace {

using Numbers = QHash<QString, int>;  // "--days" -> 30

struct Report {
    QString name;
    std::vector<std::pair<QString, int>> options;  // whole-number options and their defaults
    int schema;                                    // the step the report needs
    std::function<ReportTable(fb::Connection&, fb::Transaction&, const Numbers&)> table;
};

ReportTable reminders(fb::Connection& db, fb::Transaction& tr, const Numbers& n) {
    app::ReminderTerms terms;
    app::readServiceInterval(db, tr, terms);
    terms.today = QDate::currentDate();
    terms.days = n.value(QStringLiteral("--days"));
    terms.kmAhead = n.value(QStringLiteral("--km"));
    ReportTable t{app::reminderHeader(), app::reminderNumberColumns(), {}, {}};
    for (const app::Reminder& r : app::dueForService(db, tr, terms)) t.rows << app::reminderRow(r);
    return t;
}

const std::vector<Report>& reports() {
    static const std::vector<Report> all = {
        {QStringLiteral("reminders"), {{QStringLiteral("--days"), 30}, {QStringLiteral("--km"), 1000}}, 1, reminders},
    };
    return all;
}

}  // namespace

QString reportUsage() {
    QString out;
    for (const Report& r : reports()) {
        out += QStringLiteral("  torquil-db report %1 DATABASE").arg(r.name);
        for (const auto& [option, fallback] : r.options) out += QStringLiteral(" [%1 N]").arg(option);
        out += QStringLiteral(" [--csv]\n");
    }
    return out;
}

int reportCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    auto usage = [&err](const QString& why) {
        err << "torquil-db: " << why << "\nusage:\n" << reportUsage();
        err.flush();
        return 2;
    };
    if (args.size() < 2) return usage(QStringLiteral("report needs a report's name and a database"));
    const Report* report = nullptr;
    for (const Report& r : reports())
        if (r.name == args[0]) report = &r;
    if (!report) return usage(QStringLiteral("unknown report '%1'").arg(args[0]));

    bool csv = false;
    Numbers numbers;
    for (const auto& [option, fallback] : report->options) numbers.insert(option, fallback);
    for (int i = 2; i < args.size(); ++i) {
        const QString& o = args[i];
        if (o == QLatin1String("--csv")) {
            csv = true;
            continue;
        }
        if (!numbers.contains(o)) return usage(QStringLiteral("unknown option '%1'").arg(o));
        if (i + 1 >= args.size()) return usage(QStringLiteral("%1 needs a number").arg(o));
        bool ok = false;
        const int v = args[++i].toInt(&ok);
        if (!ok || v < 0) return usage(QStringLiteral("%1 needs a whole number, not '%2'").arg(o, args[i]));
        numbers[o] = v;
    }

    try {
        fb::Connection db;
        db.databaseName = args[1];
        app::attachWithRole(db);
        const int version = app::schemaVersion(db);
        if (version < report->schema) {
            err << "torquil-db: the database is at version " << version << "; the report needs version "
                << report->schema << " (torquil-db upgrade DATABASE)\n";
            err.flush();
            return 1;
        }
        QString text;
        {
            fb::Transaction tr(&db);
            text = reportText(report->table(db, tr, numbers), csv);
        }
        db.close();
        out << text;
        out.flush();
    } catch (const std::exception& e) {
        err << "torquil-db: " << QString::fromUtf8(e.what()).replace(u'\r', u'\n') << "\n";
        err.flush();
        return 1;
    }
    return 0;
}

}  // namespace tools
