// Backups through the engine's service and their checked restore: of the
// embedded database the program holds open, and of a server database.
#include "app/BackupCheck.h"
#include "app/BackupTarget.h"
#include "app/CopyRecord.h"
#include "app/DM.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "support/FbServer.h"
#include "support/TestDb.h"
#include "support/Unwritable.h"
#include "tools/DbTools.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

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

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The text of the fb::Error the call throws; empty when it throws none.
template <class F>
QString refusal(F&& call) {
    try {
        call();
    } catch (const fb::Error& e) {
        return e.text();
    }
    return QString();
}

// What a failed run leaves beside a copy: its temporary files.
QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".*.fbk.*")}, QDir::Files | QDir::Hidden);
}

QString demoDatabase(const QString& path) {
    fb::Connection db;
    tools::createDatabase(db, path);
    tools::fillDemo(db, QDate(2024, 6, 1));
    db.close();
    return path;
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
        const QString live = demoDatabase(dir.filePath("live.fdb"));
        support::connectDataModule(live);
        // More than the 10,000 rows after which the engine's report counts anew.
        support::exec("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < 10001) DO BEGIN "
                      "INSERT INTO Cars (owner) VALUES ('Б'); i = i + 1; END END");
        support::scalar("SELECT COUNT(*) FROM Cars");  // a transaction open on it, as in the program
        QStringList stages;
        int last = -1;
        const QString copy = dir.filePath("copy.fbk");
        const app::CopyCheck check = app::backupDatabase(live, copy, [&](int percent, const QString& stage) {
            QVERIFY(percent >= last);
            last = percent;
            stages << stage;
        });
        QVERIFY2(check.ok(), qPrintable(check.report()));
        // Stages in words for a clerk, up to the whole.
        QCOMPARE(last, 100);
        QVERIFY2(stages.contains("Копирование: Запчасти по договорам"), qPrintable(stages.join('|')));
        QVERIFY(stages.contains("Проверка копии"));
        QVERIFY(QFile::exists(copy) && QFile::exists(app::recordPath(copy)));
        QVERIFY(leftovers(dir.path()).isEmpty());
        QCOMPARE(check.tables.size(), support::count("RDB$RELATIONS", "RDB$SYSTEM_FLAG = 0 AND RDB$VIEW_BLR IS NULL"));
        const QString cars = support::scalar("SELECT COUNT(*) FROM Cars");
        QVERIFY(cars.toInt() > 0);
        QVERIFY2(check.report().contains("Машины  " + cars), qPrintable(check.report()));

        // Restored into a new file: the same row counts and contract totals.
        const QString restored = dir.filePath("restored.fdb");
        const app::CopyCheck back = app::restoreDatabase(copy, restored);
        QVERIFY2(back.ok() && back.verified, qPrintable(back.report()));
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
        QVERIFY(leftovers(dir.path()).isEmpty());
        // Not a backup: refused in words for a clerk, and no database file is left.
        const QString junk = dir.filePath("junk.fbk");
        QFile j(junk);
        QVERIFY(j.open(QIODevice::WriteOnly));
        j.write(QByteArray(10000, 'x'));
        j.close();
        const QString target = dir.filePath("fromjunk.fdb");
        QVERIFY(refusal([&] { app::restoreDatabase(junk, target); }).contains("не является резервной копией"));
        QVERIFY(!QFile::exists(target));
        // A folder that cannot be written: the message names the file chosen.
        QDir(dir.path()).mkpath("locked");
        support::UnwritableFile locked(dir.filePath("locked"));
        const QString chosen = dir.filePath("locked/copy.fbk");
        const QString why = refusal([&] { app::backupDatabase(support::makeDatabase(dir, "l.fdb"), chosen); });
        QVERIFY2(why.contains(chosen + ":") && why.contains("нет права записи"), qPrintable(why));
    }

    // A backup never writes over a database: not the one in use under any
    // name, not another one, not a file that is not a copy.
    void aBackupNeverReplacesADatabase() {
        const QString live = support::makeDatabase(dir, "inuse.fdb");
        support::connectDataModule(live);
        support::exec("INSERT INTO Cars (dev) VALUES ('ВАЗ')");
        const QString symlink = dir.filePath("inuse-link.fbk"), hardlink = dir.filePath("inuse-hard.fbk");
        QVERIFY(QFile::link(live, symlink));
        QCOMPARE(::link(QFile::encodeName(live).constData(), QFile::encodeName(hardlink).constData()), 0);
        const QString other = support::makeDatabase(dir, "other.fdb");
        const QString notes = dir.filePath("notes.fbk");
        writeBytes(notes, "счёт за май");
        const QByteArray otherBytes = bytesOf(other);
        for (const QString& target : {live, symlink, hardlink, other, notes}) {
            const QString why = refusal([&] { app::backupDatabase(live, target); });
            QVERIFY2(why.contains("выберите другое имя файла"), qPrintable(target + ": " + why));
        }
        QCOMPARE(app::fileKind(live), app::FileKind::Database);
        QCOMPARE(bytesOf(other), otherBytes);
        QCOMPARE(bytesOf(notes), QByteArray("счёт за май"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM Cars"), QString("1"));
        support::dropDataModule();
        QCOMPARE(app::tableCounts(live).value("CARS"), 1);
    }

    // The new copy is checked under its temporary name: a check that fails
    // leaves the older copy and its record as they were.
    void aCopyThatFailsItsCheckLeavesTheOlderCopy() {
        const QString db = support::makeDatabase(dir, "keep.fdb");
        const QString copy = dir.filePath("keep.fbk");
        QVERIFY(app::backupDatabase(db, copy).ok());
        const QByteArray older = bytesOf(copy), olderRecord = bytesOf(app::recordPath(copy));
        QVERIFY(!older.isEmpty() && !olderRecord.isEmpty());
        // The check's temporary database cannot be made.
        QDir(dir.path()).mkpath("no-temp");
        const QString why = [&] {
            support::UnwritableFile locked(dir.filePath("no-temp"));
            const QByteArray tmp = qgetenv("TMPDIR");
            qputenv("TMPDIR", QFile::encodeName(dir.filePath("no-temp")));
            const QString text = refusal([&] { app::backupDatabase(db, copy); });
            tmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
            return text;
        }();
        QVERIFY2(why.contains("не прошла проверку") && why.contains(copy + " не изменён"), qPrintable(why));
        QCOMPARE(bytesOf(copy), older);
        QCOMPARE(bytesOf(app::recordPath(copy)), olderRecord);
        QVERIFY(leftovers(dir.path()).isEmpty());
    }

    // A cut or changed copy is refused, and no database is left of it.
    void damagedCopiesAreRefused() {
        const QString db = demoDatabase(dir.filePath("damage.fdb"));
        const QString copy = dir.filePath("damage.fbk");
        QVERIFY(app::backupDatabase(db, copy).ok());
        const QByteArray whole = bytesOf(copy), record = bytesOf(app::recordPath(copy));
        QByteArray changed = whole;
        for (int i = 0; i < 16; ++i) changed[whole.size() / 2 + i] = char(~changed[whole.size() / 2 + i]);
        const struct {
            const char* name;
            QByteArray bytes;
            bool withRecord;
            const char* words;
        } cases[] = {
            {"cut", whole.left(whole.size() * 6 / 10), true, "повреждена"},
            {"changed", changed, true, "повреждена"},
            // Without its record the engine finds the end missing.
            {"cut-alone", whole.left(whole.size() * 6 / 10), false, "неполная"},
        };
        for (const auto& c : cases) {
            const QString bad = dir.filePath(QString(c.name) + ".fbk");
            writeBytes(bad, c.bytes);
            if (c.withRecord) writeBytes(app::recordPath(bad), record);
            const QString target = dir.filePath(QString(c.name) + ".fdb");
            const QString why = refusal([&] { app::restoreDatabase(bad, target); });
            QVERIFY2(why.contains(c.words), qPrintable(QString(c.name) + ": " + why));
            QVERIFY2(!QFile::exists(target), c.name);
        }
        // The whole copy without its record: restored, with the warning that it is unverified.
        const QString alone = dir.filePath("alone.fbk");
        writeBytes(alone, whole);
        const app::CopyCheck check = app::restoreDatabase(alone, dir.filePath("alone.fdb"));
        QVERIFY(check.ok() && !check.verified);
    }

    // The command line, for a scheduled copy: 0 only for a checked copy.
    void commandLine() {
        const QString tool = QStringLiteral(TORQUIL_BINARY_DIR "/torquil-db");
        auto run = [&](const QStringList& args, QString* out) {
            QProcess p;
            p.start(tool, args);
            if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return -1;
            *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
            return p.exitCode();
        };
        const QString db = support::makeDatabase(dir, "cli.fdb");
        const QString copy = dir.filePath("cli.fbk"), target = dir.filePath("cli-restored.fdb");
        QString out;
        QCOMPARE(run({"backup", db, copy}, &out), 0);
        QVERIFY2(out.contains("Машины  0") && out.contains("checked"), qPrintable(out));
        QCOMPARE(run({"restore", copy, target}, &out), 0);
        QCOMPARE(run({"restore", copy, target}, &out), 1);
        QVERIFY2(out.contains("уже существует"), qPrintable(out));
        QCOMPARE(run({"backup", dir.filePath("missing.fdb"), dir.filePath("m.fbk")}, &out), 1);
        QCOMPARE(run({"backup", db, db}, &out), 1);
        QCOMPARE(app::fileKind(db), app::FileKind::Database);
        // A failed restore ends with its own status every time, never a crash at exit.
        const QString cut = dir.filePath("cli-cut.fbk");
        writeBytes(cut, bytesOf(copy).left(int(QFile(copy).size() / 2)));
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(run({"restore", cut, dir.filePath("cli-cut.fdb")}, &out), 1);
            QVERIFY(!QFile::exists(dir.filePath("cli-cut.fdb")));
        }
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
        QVERIFY(check.report().contains("Машины  2"));
        QVERIFY(QFile(copy).size() > 0);

        // Restored onto the server and checked there.
        const app::CopyCheck back = app::restoreDatabase(copy, server.serverPath("back.fdb"));
        QVERIFY2(back.ok() && back.verified, qPrintable(back.report()));
        // A restore that fails on the server leaves no database there.
        const QString cut = local.filePath("cut.fbk");
        writeBytes(cut, bytesOf(copy).left(int(QFile(copy).size() * 6 / 10)));
        QVERIFY(!refusal([&] { app::restoreDatabase(cut, server.serverPath("cut.fdb")); }).isEmpty());
        QVERIFY(!QFile::exists(server.dataDir() + "/cut.fdb"));
    }

    // A server database that keeps its own users: the backup's login is
    // checked against them, not against the server's.
    void backupOfADatabaseWithItsOwnUsers() {
        support::FbServer server;
        FBSERVER_START_OR_SKIP(server);
        const QString path = server.makeDatabase("own.fdb");
        server.stop();
        const QString file = server.dataDir() + "/own.fdb";
        server.databasesConfig = "own = " + file + "\n{\n    SecurityDatabase = own\n}\n";
        QString output;
        QVERIFY2(server.embeddedIsql(file, "create user SYSDBA password 'own-pw' using plugin Srp;\ncommit;", &output),
                 qPrintable(output));
        FBSERVER_START_OR_SKIP(server);
        fb::defaultLogin() = {QStringLiteral("SYSDBA"), QStringLiteral("own-pw"), QString()};
        QTemporaryDir local;
        const app::CopyCheck check = app::backupDatabase(path, local.filePath("own.fbk"));
        QVERIFY2(check.ok(), qPrintable(check.report()));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
