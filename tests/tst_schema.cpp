// The schema's steps on a shop's database: the upgrade at start-up keeps
// every row and value and every statement of the program; a database the
// program may not change, or one newer than the program, keeps working.
#include "app/BackupCheck.h"
#include "app/DM.h"
#include "app/SchemaSteps.h"
#include "app/SchemaUpgrade.h"
#include "app/StatusLine.h"
#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "support/TestDb.h"
#include "tools/DbTools.h"
#include "widgets/Messages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QtTest>

namespace {

using Columns = QMap<QString, QStringList>;

// The tables of a database and their columns.
Columns columnsOf(const QString& path) {
    fb::Connection db;
    db.databaseName = path;
    db.open();
    Columns out;
    for (const QString& row : support::rows(db, "SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME) FROM "
                                         "RDB$RELATION_FIELDS rf JOIN RDB$RELATIONS r ON r.RDB$RELATION_NAME = "
                                         "rf.RDB$RELATION_NAME WHERE r.RDB$SYSTEM_FLAG = 0 AND r.RDB$VIEW_BLR IS NULL ORDER BY 1, 2"))
        out[row.section('|', 0, 0)] << row.section('|', 1);
    return out;
}

// Per table: the row count and, per column, the sum of a hash of its value,
// so that any changed value or byte shows.
QStringList tableSums(const QString& path, const Columns& columns) {
    fb::Connection db;
    db.databaseName = path;
    db.open();
    QStringList out;
    for (auto t = columns.begin(); t != columns.end(); ++t) {
        QStringList parts{"COUNT(*)"};
        for (const QString& c : t.value()) parts << QString("SUM(MOD(HASH(%1), 1000003))").arg(c);
        out << t.key() + ": " + support::rows(db, QString("SELECT %1 FROM %2").arg(parts.join(", "), t.key())).join(";");
    }
    return out;
}

// Every fixed statement of the data module prepares and runs: a changed
// schema must not make a name ambiguous or a column unknown. Run with
// empty parameters inside a unit that is rolled back.
void runEveryFixedStatement() {
    fb::Query* const statements[] = {&DM->iDoc,     &DM->iDoc_Ins,  &DM->iDoc_Upd,   &DM->iCar,      &DM->iCar_f,
                                     &DM->iCar_Ins, &DM->iCar_Upd,  &DM->iWork,      &DM->iWork_f,   &DM->iWork_Ins,
                                     &DM->iWork_Upd, &DM->iWork2_Ins, &DM->iWork2_Del, &DM->iSP,     &DM->iSp_f,
                                     &DM->iSP_Ins,  &DM->iSp_Upd,   &DM->iSP2_ins,   &DM->iSP2_del};
    fb::WriteUnit unit(DM->IBTrans);
    for (fb::Query* q : statements) {
        for (const QString& p : q->paramNames()) q->setNull(p);
        try {
            if (q->text().trimmed().startsWith("SELECT", Qt::CaseInsensitive)) q->open();
            else q->execSQL();
        } catch (const std::exception& e) {
            QFAIL(qPrintable(q->text() + "\n" + QString::fromUtf8(e.what())));
        }
        q->close();
    }
    // Left without a commit: everything is rolled back.
}

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

QString torquilDb(const QStringList& args, int* status = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(TORQUIL_BINARY_DIR "/torquil-db"), args);
    p.waitForFinished(120000);
    if (status) *status = p.exitCode();
    return QString::fromUtf8(p.readAll());
}

}  // namespace

class TestSchema : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QLabel status;

    // A shop's database of the base schema with the demo's data (text as
    // Windows-1251 bytes).
    QString shopDatabase(const QString& name) {
        const QString path = support::makeBaseDatabase(dir, name);
        fb::Connection db;
        db.databaseName = path;
        db.open();
        tools::fillDemo(db, QDate(2025, 3, 14));
        db.close();
        return path;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        app::setStatusLabel(&status);
        QVERIFY(app::newestSchemaVersion() >= 1);
    }

    void cleanup() { support::dropDataModule(); }

    void startUpUpgradesAfterACheckedCopyKeepingEveryRow() {
        const QString path = shopDatabase("shop.fdb");
        const Columns base = columnsOf(path);
        QCOMPARE(base.size(), 13);
        const QStringList before = tableSums(path, base);
        QVERIFY(before.join(";").contains("CONTRACTS: 300|"));
        widgets::MessageRecorder rec;
        support::connectDataModule(path);
        QCOMPARE(rec.count(), 1);
        const QString said = rec.lastText();
        QVERIFY2(said.contains(QString("обновлена до версии %1").arg(app::newestSchemaVersion())), qPrintable(said));
        const QString copy = said.section('\r', -1);
        QVERIFY2(copy.startsWith(dir.path()) && QFile::exists(copy), qPrintable(copy));
        QCOMPARE(app::databaseSchema(), app::newestSchemaVersion());
        QVERIFY(app::hasSchema(1));
        QCOMPARE(app::statusText(), QString());
        QCOMPARE(tableSums(path, base), before);
        runEveryFixedStatement();
        // One row a step, each naming the program.
        QCOMPARE(support::count("Schema_Version"), app::schemaSteps().size());
        QCOMPARE(support::scalar("SELECT MIN(program) FROM Schema_Version"), QString("torquil 1.0"));
        // The copy holds the database as it was: version 0, the same rows.
        const QString restored = dir.filePath("restored.fdb");
        QCOMPARE(torquilDb({"restore", copy, restored}).contains("checked"), true);
        QCOMPARE(columnsOf(restored), base);
        QCOMPARE(tableSums(restored, base), before);
        QCOMPARE(torquilDb({"version", restored}).trimmed(), QString("0"));
        // Started again: nothing more to do, nothing said.
        support::dropDataModule();
        rec.clear();
        support::connectDataModule(path);
        QVERIFY(rec.isEmpty());
        // Right after the steps the program's own backup attaches a second time.
        QVERIFY(app::backupDatabase(path, dir.filePath("after.fbk")).ok());
    }

    void readOnlyDatabaseWorksWithoutTheNewFeatures() {
        const QString path = shopDatabase("readonly.fdb");
        QProcess gfix;
        gfix.setProcessChannelMode(QProcess::MergedChannels);
        gfix.start("gfix", {"-mode", "read_only", "-user", "sysdba", "-password", "quillstem", path});
        QVERIFY(gfix.waitForFinished(30000));
        QVERIFY2(gfix.exitCode() == 0, gfix.readAll().constData());
        const QByteArray bytes = digest(path);
        widgets::MessageRecorder rec;
        support::connectDataModule(path);
        QVERIFY2(rec.isEmpty(), qPrintable(rec.lastText()));
        QCOMPARE(app::databaseSchema(), 0);
        QVERIFY(!app::hasSchema(1));
        QVERIFY2(app::statusText().contains("не обновлена"), qPrintable(app::statusText()));
        QCOMPARE(support::count("Contracts"), 300);
        support::dropDataModule();
        QCOMPARE(digest(path), bytes);
        QVERIFY(QDir(dir.path()).entryList({"readonly-v0-*"}).isEmpty());
        // The command line says so and changes nothing either.
        int rc = 0;
        QVERIFY(torquilDb({"upgrade", path}, &rc).contains("read-only"));
        QCOMPARE(rc, 1);
    }

    void newerDatabaseIsUsedAsItIs() {
        const QString path = support::makeDatabase(dir, "newer.fdb");
        {
            fb::Connection db;
            db.databaseName = path;
            db.open();
            fb::Transaction tr(&db);
            fb::Query q(&db, &tr);
            q.setSQL({QString("INSERT INTO Schema_Version (version, program) VALUES (%1, 'torquil 9')")
                          .arg(app::newestSchemaVersion() + 7)});
            q.execSQL();
            tr.commit();
        }
        widgets::MessageRecorder rec;
        support::connectDataModule(path);
        QCOMPARE(rec.count(), 1);
        QVERIFY2(rec.lastText().contains("более новой версией программы"), qPrintable(rec.lastText()));
        QVERIFY(app::hasSchema(app::newestSchemaVersion()));
        runEveryFixedStatement();
        support::dropDataModule();
        QVERIFY(torquilDb({"version", path}).contains("newer than this program"));
    }

    void commandLineUpgrade() {
        const QString path = shopDatabase("cli.fdb");
        QCOMPARE(torquilDb({"version", path}).trimmed(), QString("0"));
        int rc = -1;
        const QString out = torquilDb({"upgrade", path}, &rc);
        QCOMPARE(rc, 0);
        QVERIFY2(out.contains(QString("version 0 -> %1").arg(app::newestSchemaVersion())), qPrintable(out));
        QVERIFY2(out.contains("backup " + dir.filePath("cli-v0-")), qPrintable(out));
        QCOMPARE(torquilDb({"version", path}).trimmed(), QString::number(app::newestSchemaVersion()));
        QVERIFY(torquilDb({"upgrade", path}).contains("nothing to do"));
    }
};

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
