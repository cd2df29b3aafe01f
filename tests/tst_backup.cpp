// Backups through the engine's service and their checked restore: of the
// embedded database the program holds open, and of a server database.
#include "app/BackupCheck.h"
#include "app/DM.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "support/FbServer.h"
#include "support/TestDb.h"
#include "tools/DbTools.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every contract's number with its works and spares totals, as a text to compare.
QString contractTotals(const QString& database) {
    fb::Connection db;
    db.databaseName = database;
    db.open();
    QString out;
    {
        fb::Transaction tr(&db);
        fb::Query q(&db, &tr);
        q.setSQL({"SELECT ct.num, (SELECT SUM(price) FROM CT_Works w WHERE w.ct_fk = ct.pk_id), "
                  "(SELECT SUM(price * num) FROM CT_Spares s WHERE s.ct_fk = ct.pk_id) "
                  "FROM Contracts ct ORDER BY ct.pk_id"});
        q.open();
        for (; !q.eof(); q.next())
            out += q.field(0).asString() + ' ' + q.field(1).asString() + ' ' + q.field(2).asString() + '\n';
        q.freeStatements();
    }
    db.close();
    return out;
}

}  // namespace

class TestBackup : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    // The program holds its database open; the engine's service backs it up
    // all the same, and the copy restores to the same rows and totals.
    void backupOfTheOpenDatabaseRestoresTheSameRows() {
        const QString live = dir.filePath("live.fdb");
        {
            fb::Connection db;
            tools::createDatabase(db, live);
            tools::fillDemo(db, QDate(2024, 6, 1));
            db.close();
        }
        support::connectDataModule(live);
        support::scalar("SELECT COUNT(*) FROM Cars");  // a transaction open on it, as in the program
        QStringList lines;
        const QString copy = dir.filePath("copy.fbk");
        const app::CopyCheck check =
            app::backupDatabase(live, copy, [&lines](const QString& l) { lines << l; });
        QVERIFY2(check.ok(), qPrintable(check.report()));
        QVERIFY(!lines.isEmpty());  // the engine's progress came through
        QVERIFY(QFile::exists(copy));
        QVERIFY(!QFile::exists(copy + ".part"));
        QCOMPARE(check.tables.size(), 13);
        const QString cars = support::scalar("SELECT COUNT(*) FROM Cars");
        QVERIFY(cars.toInt() > 0);
        QVERIFY(check.report().contains("CARS  " + cars));

        // Restored into a new file: the same row counts and contract totals.
        const QString restored = dir.filePath("restored.fdb");
        const app::CopyCheck back = app::restoreDatabase(copy, restored);
        QVERIFY2(back.ok(), qPrintable(back.report()));
        QCOMPARE(app::tableCounts(restored), app::tableCounts(live));
        QCOMPARE(contractTotals(restored), contractTotals(live));
        QVERIFY(!contractTotals(live).isEmpty());

        // Never over a file that exists: the database in use least of all.
        const QByteArray before = [&] {
            QFile f(restored);
            f.open(QIODevice::ReadOnly);
            return f.read(4096);
        }();
        for (const QString& target : {restored, live}) {
            try {
                app::restoreDatabase(copy, target);
                QFAIL("restored over an existing file");
            } catch (const fb::Error& e) {
                QVERIFY2(e.text().contains("уже существует"), qPrintable(e.text()));
            }
        }
        QFile f(restored);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(4096), before);
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM Cars"), cars);  // the open database still works
        support::dropDataModule();
    }

    void failuresCarryTheEnginesText() {
        // No such database: the engine's text, and no copy left behind.
        const QString copy = dir.filePath("none.fbk");
        try {
            app::backupDatabase(dir.filePath("missing.fdb"), copy);
            QFAIL("backup of a missing database succeeded");
        } catch (const fb::Error& e) {
            QVERIFY2(!e.text().isEmpty(), "no text");
        }
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!QFile::exists(copy + ".part"));
        // Not a backup: refused, and no database file is left.
        const QString junk = dir.filePath("junk.fbk");
        QFile j(junk);
        QVERIFY(j.open(QIODevice::WriteOnly));
        j.write(QByteArray(10000, 'x'));
        j.close();
        const QString target = dir.filePath("fromjunk.fdb");
        QVERIFY_THROWS_EXCEPTION(fb::Error, app::restoreDatabase(junk, target));
        QVERIFY(!QFile::exists(target));
    }

    // The command line, for a scheduled copy: 0 only for a checked copy.
    void commandLine() {
        const QString tool = QStringLiteral(TORQUIL_BINARY_DIR "/torquil-db");
        auto run = [&](const QStringList& args, QString* out) {
            QProcess p;
            p.start(tool, args);
            if (!p.waitForFinished(120000)) return -1;
            *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
            return p.exitCode();
        };
        const QString db = support::makeDatabase(dir, "cli.fdb");
        const QString copy = dir.filePath("cli.fbk"), target = dir.filePath("cli-restored.fdb");
        QString out;
        QCOMPARE(run({"backup", db, copy}, &out), 0);
        QVERIFY2(out.contains("CARS  0") && out.contains("checked"), qPrintable(out));
        QCOMPARE(run({"restore", copy, target}, &out), 0);
        QCOMPARE(run({"restore", copy, target}, &out), 1);
        QVERIFY2(out.contains("уже существует"), qPrintable(out));
        QCOMPARE(run({"backup", dir.filePath("missing.fdb"), dir.filePath("m.fbk")}, &out), 1);
    }

    // A server database: the server sends the backup, which is written here
    // and checked by restoring it locally.
    void backupOfAServerDatabase() {
        support::FbServer server;
        FBSERVER_START_OR_SKIP(server);
        const QString path = server.makeDatabase("shop.fdb");
        {
            fb::Connection db;
            db.databaseName = path;
            db.open();
            fb::Transaction tr(&db);
            fb::Query q(&db, &tr);
            q.setSQL({"INSERT INTO Cars (dev, mod, owner) VALUES ('ВАЗ', '2107', 'ПЕТРОВ')"});
            q.execSQL();
            q.execSQL();
            q.freeStatements();
            tr.commit();
            db.close();
        }
        QTemporaryDir local;
        const QString copy = local.filePath("server.fbk");
        const app::CopyCheck check = app::backupDatabase(path, copy);
        QVERIFY2(check.ok(), qPrintable(check.report()));
        QVERIFY(check.report().contains("CARS  2"));
        QVERIFY(QFile(copy).size() > 0);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
