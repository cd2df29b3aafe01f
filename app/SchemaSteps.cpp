#include "app/SchemaSteps.h"

#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Script.h"
#include "fb/Transaction.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>

namespace app {

namespace {

QString resourceText(const QString& name) {
    QFile f(QStringLiteral(":/schema/") + name);
    if (!f.open(QIODevice::ReadOnly)) throw fb::Error(QStringLiteral("The schema file %1 is not built in").arg(name));
    return QString::fromUtf8(f.readAll());
}

const char* const kVersionTable =
    "CREATE TABLE Schema_Version ("
    " version INTEGER NOT NULL,"
    " applied TIMESTAMP,"
    " program VARCHAR(60),"
    " CONSTRAINT pk_schema_version PRIMARY KEY (version))";

bool hasVersionTable(fb::Connection& db) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'SCHEMA_VERSION'")});
    q.open();
    return q.field(0).asInteger() > 0;
}

// The table of versions, made once. Another program may be making it at the
// same moment: its uncommitted table refuses ours at once (the transactions
// do not wait), so look again until it is there or ours goes through.
void ensureVersionTable(fb::Connection& db) {
    const QDeadlineTimer patience(60 * 1000);
    for (;;) {
        if (hasVersionTable(db)) return;
        try {
            fb::Transaction tr(&db);
            fb::runScriptIn(tr, QString::fromLatin1(kVersionTable));
            tr.commit();
            return;
        } catch (const fb::Error&) {
            if (hasVersionTable(db)) return;
            if (patience.hasExpired()) throw;
        }
        QThread::msleep(200);
    }
}

// Claims step `version`: its row is the first thing the step's transaction
// writes, so a second program trying the same step stops here until the
// first has ended. False when the step is claimed or recorded elsewhere.
bool claimStep(fb::Transaction& tr, int version, const QString& program) {
    fb::Query q(tr.database(), &tr);
    q.setSQL({QStringLiteral("INSERT INTO Schema_Version (version, applied, program)"),
              QStringLiteral("VALUES (:version, CURRENT_TIMESTAMP, :program)")});
    q.setInteger(QStringLiteral("version"), version);
    q.setString(QStringLiteral("program"), program.left(60));
    try {
        q.execSQL();
        return true;
    } catch (const fb::Error& e) {
        // 335544665: the row is there (committed); a conflict: another
        // transaction is writing it.
        if (e.isRowConflict() || e.hasCode(335544665) || e.hasCode(335544349)) return false;
        throw;
    }
}

}  // namespace

QString baseSchemaText() { return resourceText(QStringLiteral("dbase.sql")); }

QList<SchemaStep> schemaSteps() {
    static const QRegularExpression numbered(QStringLiteral("^(\\d{3})-.+\\.sql$"));
    QList<SchemaStep> steps;
    for (const QString& name : QDir(QStringLiteral(":/schema")).entryList(QDir::Files, QDir::Name)) {
        const auto m = numbered.match(name);
        if (!m.hasMatch()) continue;
        steps.append({m.captured(1).toInt(), name, resourceText(name)});
    }
    std::sort(steps.begin(), steps.end(), [](const SchemaStep& a, const SchemaStep& b) { return a.version < b.version; });
    return steps;
}

int newestSchemaVersion() {
    const QList<SchemaStep> steps = schemaSteps();
    return steps.isEmpty() ? 0 : steps.last().version;
}

int schemaVersion(fb::Connection& db) {
    if (!hasVersionTable(db)) return 0;
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT MAX(version) FROM Schema_Version")});
    q.open();
    return q.field(0).isNull() ? 0 : q.field(0).asInteger();
}

void createSchema(fb::Connection& db, const QString& program) {
    fb::runScript(db, baseSchemaText());
    applySchemaSteps(db, program);
}

int applySchemaSteps(fb::Connection& db, const QString& program, int upTo) {
    ensureVersionTable(db);
    int version = schemaVersion(db);
    for (const SchemaStep& step : schemaSteps()) {
        if (step.version <= version) continue;
        if (step.version > upTo) break;
        // Another program applying this step holds its row: wait for it to
        // end, then see what it recorded (its failure leaves the step to us).
        const QDeadlineTimer patience(120 * 1000);
        for (;;) {
            fb::Transaction tr(&db);
            if (claimStep(tr, step.version, program)) {
                try {
                    fb::runScriptIn(tr, step.text);
                    tr.commit();
                } catch (const fb::Error& e) {
                    tr.rollback();
                    throw fb::Error(QStringLiteral("Шаг схемы %1 не выполнен: %2").arg(step.name, e.text()), e.codes());
                }
                break;
            }
            tr.rollback();
            if (schemaVersion(db) >= step.version) break;
            if (patience.hasExpired())
                throw fb::Error(QStringLiteral("Шаг схемы %1 занят другой программой дольше двух минут.").arg(step.name));
            QThread::msleep(200);
        }
        version = std::max(version, schemaVersion(db));
    }
    return version;
}

}  // namespace app
