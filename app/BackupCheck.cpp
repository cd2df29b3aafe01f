#include "app/BackupCheck.h"

#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"

#include <QSet>
#include <QTemporaryDir>

namespace app {

QMap<QString, qint64> tableCounts(const QString& database) {
    fb::Connection db;
    db.databaseName = database;
    db.open();
    QMap<QString, qint64> counts;
    {
        fb::Transaction tr(&db);
        fb::Query q(&db, &tr);
        q.setSQL({QStringLiteral("SELECT TRIM(rdb$relation_name) FROM rdb$relations "
                                 "WHERE COALESCE(rdb$system_flag, 0) = 0 AND rdb$view_blr IS NULL")});
        q.open();
        QStringList tables;
        for (; !q.eof(); q.next()) tables << q.field(0).asString();
        for (const QString& t : tables) {
            // Names come from the engine's own catalogue; quoted as it stores them.
            q.setSQL({QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(QString(t).replace(u'"', QStringLiteral("\"\"")))});
            q.open();
            counts.insert(t, q.field(0).asInt64());
        }
        q.freeStatements();
        tr.commit();
    }
    db.close();
    return counts;
}

bool CopyCheck::ok() const {
    if (tables.isEmpty()) return false;
    for (const TableCheck& t : tables)
        if (t.expected != t.found) return false;
    return true;
}

QString CopyCheck::report() const {
    QStringList lines;
    for (const TableCheck& t : tables) {
        QString line = QStringLiteral("%1  %2").arg(t.table).arg(t.found < 0 ? QStringLiteral("нет") : QString::number(t.found));
        if (t.expected != t.found)
            line += QStringLiteral("  (ожидалось %1)")
                        .arg(t.expected < 0 ? QStringLiteral("нет такой таблицы") : QString::number(t.expected));
        lines << line;
    }
    return lines.join(u'\n');
}

CopyCheck compareCounts(const QMap<QString, qint64>& expected, const QMap<QString, qint64>& found) {
    QSet<QString> names;
    for (auto it = expected.begin(); it != expected.end(); ++it) names.insert(it.key());
    for (auto it = found.begin(); it != found.end(); ++it) names.insert(it.key());
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    CopyCheck check;
    for (const QString& n : sorted) check.tables.append({n, expected.value(n, -1), found.value(n, -1)});
    return check;
}

namespace {

// The copy restored into a temporary database by this process's engine:
// its row counts, the database removed again.
QMap<QString, qint64> countsOfCopy(const QString& file, const fb::Service::Lines& progress) {
    QTemporaryDir dir;
    if (!dir.isValid()) throw fb::Error(QStringLiteral("Cannot make a temporary folder: %1").arg(dir.errorString()));
    const QString probe = dir.filePath(QStringLiteral("check.fdb"));
    {
        fb::Service local(probe);
        local.restore(file, probe, progress);
    }
    return tableCounts(probe);
}

}  // namespace

CopyCheck backupDatabase(const QString& database, const QString& file, const fb::Service::Lines& progress) {
    {
        fb::Service svc(database);
        svc.backup(database, file, progress);
    }
    const QMap<QString, qint64> copy = countsOfCopy(file, progress);
    return compareCounts(tableCounts(database), copy);
}

CopyCheck restoreDatabase(const QString& file, const QString& database, const fb::Service::Lines& progress) {
    {  // the service refuses a local file that exists
        fb::Service svc(database);
        svc.restore(file, database, progress);
    }
    const QMap<QString, qint64> restored = tableCounts(database);
    return compareCounts(countsOfCopy(file, progress), restored);
}

}  // namespace app
