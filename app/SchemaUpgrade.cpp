#include "app/SchemaUpgrade.h"

#include "app/BackupCheck.h"
#include "app/DM.h"
#include "app/SchemaSteps.h"
#include "app/StatusLine.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "widgets/Messages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace app {

namespace {

// What the start-up has to tell the clerk: shown once the engine has
// attached and the program's own signal handling is back.
struct News {
    QString text;
    bool error = false;
};
News& pendingNews() {
    static News n;
    return n;
}

int& attachedVersion() {
    static int v = 0;
    return v;
}

bool readOnlyDatabase(fb::Connection& db) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT MON$READ_ONLY FROM MON$DATABASE")});
    q.open();
    return q.field(0).asInteger() != 0;
}

QString featuresOff(int version) {
    return QStringLiteral("База данных версии %1 не обновлена до версии %2: новые возможности (пробег визитов, напоминания о ТО и другие) отключены.")
        .arg(version)
        .arg(newestSchemaVersion());
}

// The version after a failure: what the database has now, as far as it can
// still be read.
int schemaVersionOr(fb::Connection& db, int fallback) {
    try {
        return schemaVersion(db);
    } catch (const fb::Error&) {
        return fallback;
    }
}

}  // namespace

int databaseSchema() { return attachedVersion(); }
void setDatabaseSchema(int version) { attachedVersion() = version; }
bool hasSchema(int version) { return attachedVersion() >= version; }

QString upgradingProgram() { return QStringLiteral("torquil 1.0"); }

QString upgradeCopyPath(const QString& database, int version) {
    // The process's number after the time: two programs that start at the
    // same moment make two copies, never one file written by both.
    const QString name = QStringLiteral("%1-v%2-%3-%4.fbk")
                             .arg(QFileInfo(database.section(u':', -1)).completeBaseName())
                             .arg(version)
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmsszzz")))
                             .arg(QCoreApplication::applicationPid());
    if (!fb::Connection::isRemotePath(database)) {
        const QFileInfo folder(QFileInfo(database).absolutePath());
        if (folder.isDir() && folder.isWritable()) return QDir(folder.absoluteFilePath()).filePath(name);
    }
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty() || !QDir().mkpath(docs)) docs = QDir::homePath();
    return QDir(docs).filePath(name);
}

bool isRefusedChange(const QString& text) {
    return text.contains(QLatin1String("read-only database")) || text.contains(QLatin1String("no permission")) ||
           text.contains(QLatin1String("not the owner")) || text.contains(QLatin1String("insufficient privileges")) ||
           text.contains(QLatin1String("Unable to perform operation"));
}

SchemaUpgrade upgradeAttached(fb::Connection& db, const QString& copy, const Progress& progress) {
    SchemaUpgrade up;
    up.before = up.after = schemaVersion(db);
    if (up.before >= newestSchemaVersion()) return up;
    if (readOnlyDatabase(db)) {
        up.readOnly = true;
        return up;
    }
    const CopyCheck check = backupDatabase(db.databaseName, copy, progress);
    if (!check.ok())
        throw fb::Error(QStringLiteral("Копия базы данных перед обновлением не прошла проверку; база данных не "
                                       "изменена.\r\r%1")
                            .arg(check.report()));
    up.copy = copy;
    up.after = applySchemaSteps(db, upgradingProgram());
    return up;
}

void prepareSchemaAtStart(const QString& path) {
    setStandingStatus(QString());
    setDatabaseSchema(0);
    fb::Connection db;
    db.databaseName = path;
    db.userName = DM->IBDbase.userName;
    db.password = DM->IBDbase.password;
    db.role = DM->IBDbase.role;  // without it a server's login reads nothing
    try {
        db.open();
    } catch (const fb::Error&) {
        return;
    }
    int version = 0;
    try {
        version = schemaVersion(db);
        setDatabaseSchema(version);
        const int newest = newestSchemaVersion();
        if (version > newest) {
            pendingNews() = {QStringLiteral("База данных создана более новой версией программы (схема версии %1, "
                                                "эта программа знает версию %2).\rРаботать можно; обновите программу, "
                                                "когда будет возможно.")
                                     .arg(version)
                                     .arg(newest)};
            return;
        }
        if (version == newest) return;
        showStatus(QStringLiteral("Обновление базы данных: резервная копия…"));
        const SchemaUpgrade up = upgradeAttached(db, upgradeCopyPath(db.databaseName, version));
        setDatabaseSchema(up.after);
        showStatus(QString());
        if (up.readOnly) {
            setStandingStatus(featuresOff(version));
            return;
        }
        pendingNews() = {QStringLiteral("База данных обновлена до версии %1.\rПеред обновлением сделана и "
                                        "проверена резервная копия:\r%2")
                             .arg(up.after)
                             .arg(QDir::toNativeSeparators(up.copy))};
    } catch (const fb::Error& e) {
        showStatus(QString());
        setDatabaseSchema(schemaVersionOr(db, version));
        setStandingStatus(featuresOff(databaseSchema()));
        if (!isRefusedChange(e.text()))
            pendingNews() = {QStringLiteral("База данных не обновлена: %1\rПрограмма работает без новых возможностей.")
                                 .arg(e.text()),
                             true};
    }
}

void tellSchemaNews() {
    const News news = std::exchange(pendingNews(), News{});
    if (news.text.isEmpty()) return;
    if (news.error) widgets::showError(news.text);
    else widgets::showMessage(news.text);
}

}  // namespace app
