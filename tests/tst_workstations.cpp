// Several workstations on one Firebird server: each one the program's whole
// set of windows in a process of its own (torquil-workstation), pointed at
// the server through its path.txt. The test process reads the results
// through a connection of its own to the same server.
#include "app/DM.h"
#include "app/CopyRecord.h"
#include "app/SchemaSteps.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "support/FbServer.h"
#include "support/Program.h"
#include "support/TestDb.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// One workstation process and its program folder.
class Workstation {
public:
    Workstation(const QString& dbPath, const QString& name, const QStringList& options = {})
        : name_(name), options_(options) {
        QFile f(folder_.filePath(QStringLiteral("path.txt")));
        if (f.open(QIODevice::WriteOnly)) f.write(dbPath.toUtf8() + "\r\n");
    }
    ~Workstation() {
        if (p_.state() != QProcess::NotRunning) {
            p_.kill();
            p_.waitForFinished(5000);
        }
    }

    // Starts the process; returns the answer of its start-up ("ok ready").
    QString start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        p_.setProcessEnvironment(env);
        p_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p_.start(QStringLiteral(TORQUIL_WORKSTATION), QStringList{QStringLiteral("--folder"), folder_.path(),
                                                                  QStringLiteral("--name"), name_} +
                                                          options_ + QStringList{QStringLiteral("--stdin")});
        if (!p_.waitForStarted(10000)) return QStringLiteral("not started: ") + p_.errorString();
        return answer(30000).last();
    }

    void send(const QString& command) {
        p_.write(command.toUtf8() + '\n');
        p_.waitForBytesWritten(5000);
    }
    // The lines up to and including the answer ("ok ..." or "fail ...").
    QStringList answer(int ms = 30000) {
        QStringList lines;
        const QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            while (p_.canReadLine()) {
                const QString line = QString::fromUtf8(p_.readLine()).trimmed();
                lines << line;
                if (line.startsWith(QLatin1String("ok")) || line.startsWith(QLatin1String("fail"))) return lines;
            }
            if (p_.state() == QProcess::NotRunning) {
                lines << QStringLiteral("fail the workstation ended (exit code %1)").arg(p_.exitCode());
                return lines;
            }
            p_.waitForReadyRead(int(qMax<qint64>(1, qMin<qint64>(100, deadline.remainingTime()))));
        }
        lines << QStringLiteral("fail no answer within %1 s").arg(ms / 1000);
        return lines;
    }
    QString ask(const QString& command, int ms = 30000) {
        send(command);
        return answer(ms).last();
    }

    // Ends it with "quit"; true when it ended normally with code 0.
    bool quit() {
        send(QStringLiteral("quit"));
        p_.closeWriteChannel();
        if (!p_.waitForFinished(20000)) return false;
        return p_.exitStatus() == QProcess::NormalExit && p_.exitCode() == 0;
    }

private:
    QString name_;
    QStringList options_;
    QTemporaryDir folder_;
    QProcess p_;
};

struct Registered {
    int key;
    QString number;
};

// The "contract KEY NUMBER" lines of a register answer.
QList<Registered> contractsOf(const QStringList& lines) {
    QList<Registered> result;
    static const QRegularExpression re(QStringLiteral("^contract (\\d+) (\\S+)$"));
    for (const QString& l : lines)
        if (const auto m = re.match(l); m.hasMatch()) result << Registered{m.captured(1).toInt(), m.captured(2)};
    return result;
}

QString count(const QString& from) { return support::scalar(QStringLiteral("SELECT COUNT(*) FROM ") + from); }

}  // namespace

class TestWorkstations : public QObject {
    Q_OBJECT
    support::FbServer server;
    QString dbPath;

    // A fresh database on the server for each test, read through the data
    // module of the test process.
    void freshDatabase(const QString& file) {
        support::dropDataModule();
        dbPath = server.makeDatabase(file);
        support::connectDataModule(dbPath);
    }

private slots:
    void initTestCase() {
        QElapsedTimer clock;
        clock.start();
        FBSERVER_START_OR_SKIP(server);
        qInfo("server on port %d, started in %lld ms", server.port(), clock.elapsed());
    }
    void cleanupTestCase() {
        support::dropDataModule();
        server.kill();
    }

    void simultaneousRegistrationKeepsEveryContractWhole() {
        freshDatabase(QStringLiteral("register.fdb"));
        Workstation a(dbPath, QStringLiteral("A")), b(dbPath, QStringLiteral("B"));
        QCOMPARE(a.start(), QString("ok ready"));
        QCOMPARE(b.start(), QString("ok ready"));
        const int n = 12;
        a.send(QStringLiteral("register %1").arg(n));
        b.send(QStringLiteral("register %1").arg(n));
        const QStringList fromA = a.answer(90000), fromB = b.answer(90000);
        QCOMPARE(fromA.last(), QString("ok"));
        QCOMPARE(fromB.last(), QString("ok"));

        QCOMPARE(count("Contracts"), QString::number(2 * n));
        QCOMPARE(support::scalar("SELECT COUNT(DISTINCT num) FROM Contracts"), QString::number(2 * n));
        QCOMPARE(count("CT_Works"), QString::number(4 * n));
        QCOMPARE(count("CT_Spares"), QString::number(2 * n));
        // Each workstation's contracts carry its own car and lines, and the
        // number that its editor showed.
        for (const auto& [ws, lines] : {std::pair{QString("A"), fromA}, std::pair{QString("B"), fromB}}) {
            const QList<Registered> made = contractsOf(lines);
            QCOMPARE(made.size(), n);
            for (int i = 0; i < n; ++i) {
                const QString key = QString::number(made[i].key), tag = QStringLiteral("%1 %2").arg(ws).arg(i + 1);
                QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + key), tag);
                QCOMPARE(support::scalar("SELECT num FROM Contracts WHERE pk_id = " + key), made[i].number);
                QCOMPARE(support::scalar("SELECT cr.owner FROM Contracts ct JOIN Cars cr ON ct.cr_fk = cr.pk_id "
                                         "WHERE ct.pk_id = " + key),
                         tag);
                QCOMPARE(count("CT_Works WHERE ct_fk = " + key + " AND name STARTING WITH '" + tag + " '"),
                         QString("2"));
                QCOMPARE(count("CT_Spares WHERE ct_fk = " + key + " AND name = '" + tag + " ЗАПЧАСТЬ'"), QString("1"));
            }
        }
        QVERIFY(a.quit());
        QVERIFY(b.quit());
    }

    void secondEditorMeetsTheConflictAtOnce() {
        freshDatabase(QStringLiteral("edit.fdb"));
        Workstation a(dbPath, QStringLiteral("A")), b(dbPath, QStringLiteral("B"));
        QCOMPARE(a.start(), QString("ok ready"));
        QCOMPARE(b.start(), QString("ok ready"));
        const QList<Registered> made = contractsOf((a.send("register 1"), a.answer()));
        QCOMPARE(made.size(), 1);
        const QString key = QString::number(made[0].key);
        QCOMPARE(b.ask("journal"), QString("ok 1"));
        QCOMPARE(b.ask("open " + key), "ok " + made[0].number);

        // The first is in the middle of its save: updated, not yet committed.
        QCOMPARE(a.ask("hold " + key + " ПЕРВЫЙ"), QString("ok 1"));
        QCOMPARE(b.ask("remark ВТОРОЙ"), QString("ok"));
        QCOMPARE(b.ask("work ВТОРАЯ_РАБОТА 50"), QString("ok"));
        QElapsedTimer clock;
        clock.start();
        const QString conflict = b.ask("save");
        QVERIFY2(conflict.startsWith("fail ") && conflict.contains("update conflicts with concurrent update") &&
                     conflict.contains("deadlock"),
                 qPrintable(conflict));
        QVERIFY2(clock.elapsed() < 3000, "nowait: the conflict is reported at once");
        // Nothing of the second was written; the first's work is untouched.
        QCOMPARE(count("CT_Works WHERE name = 'ВТОРАЯ_РАБОТА'"), QString("0"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + key), QString("A 1"));

        QCOMPARE(a.ask("commit"), QString("ok"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + key), QString("ПЕРВЫЙ"));
        // The second saves once the first has committed (a change enables the button again).
        QCOMPARE(b.ask("remark ВТОРОЙ"), QString("ok"));
        QCOMPARE(b.ask("save"), QString("ok"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + key), QString("ВТОРОЙ"));
        QCOMPARE(count("CT_Works WHERE ct_fk = " + key), QString("3"));
        QCOMPARE(count("CT_Works WHERE ct_fk = " + key + " AND name = 'ВТОРАЯ_РАБОТА'"), QString("1"));
        QCOMPARE(count("CT_Spares WHERE ct_fk = " + key), QString("1"));
        QCOMPARE(b.ask("close"), QString("ok"));
        // The first sees the second's save in its journal and can edit again.
        QCOMPARE(a.ask("edit " + key + " ТРЕТИЙ"), QString("ok"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + key), QString("ТРЕТИЙ"));
        QVERIFY(a.quit());
        QVERIFY(b.quit());
    }

    void missingFileOnTheServer() {
        // The file test is the server's: its text is shown and the program stays.
        Workstation a(server.serverPath(QStringLiteral("nowhere.fdb")), QStringLiteral("A"));
        const QString start = a.start();
        QVERIFY2(start.startsWith("fail ") && start.contains("I/O error") && start.contains("nowhere.fdb"),
                 qPrintable(start));
        QCOMPARE(a.ask("ping"), QString("ok"));
        QVERIFY(a.ask("journal").startsWith("fail "));
        QVERIFY(a.quit());
    }

    void serverRestartUnderAnOpenEditorLosesNothing() {
        freshDatabase(QStringLiteral("restart.fdb"));
        Workstation a(dbPath, QStringLiteral("A")), b(dbPath, QStringLiteral("B"));
        QCOMPARE(a.start(), QString("ok ready"));
        QCOMPARE(b.start(), QString("ok ready"));
        QCOMPARE(a.ask("register 1"), QString("ok"));
        const QString car = support::scalar("SELECT MAX(pk_id) FROM Cars");
        // A new contract typed on A; with several workstations its number is provisional.
        QCOMPARE(a.ask("new " + car), QString("ok"));
        QCOMPARE(a.ask("remark ПОСЛЕ_РЕСТАРТА"), QString("ok"));
        QCOMPARE(a.ask("work РАБОТА_1 100"), QString("ok"));
        QCOMPARE(a.ask("work РАБОТА_2 200"), QString("ok"));
        QCOMPARE(a.ask("editor"), QString("ok ≈2|ПОСЛЕ_РЕСТАРТА|РАБОТА_1;РАБОТА_2|"));
        support::dropDataModule();

        server.stop();
        FBSERVER_START_OR_SKIP(server);
        // B reads and writes again without a restart, and takes number 2 meanwhile.
        QCOMPARE(b.ask("journal"), QString("ok 1"));
        QCOMPARE(b.ask("register 1"), QString("ok"));
        // A's first save either goes through or says the connection was lost; the next one does.
        const QString first = a.ask("save");
        qInfo("first save after the restart: %s", qPrintable(first));
        if (first != QLatin1String("ok")) {
            QVERIFY2(first.contains("Связь с сервером была потеряна. Договор не сохранён — сохраните ещё раз."),
                     qPrintable(first));
            QCOMPARE(a.ask("save"), QString("ok"));
        }
        QCOMPARE(a.ask("editor"), QString("ok 3|ПОСЛЕ_РЕСТАРТА|РАБОТА_1;РАБОТА_2|"));
        QCOMPARE(a.ask("status"), QString("ok Договору присвоен номер 3"));
        support::connectDataModule(dbPath);
        QCOMPARE(count("Contracts"), QString("3"));
        const QString key = support::scalar("SELECT pk_id FROM Contracts WHERE rem = 'ПОСЛЕ_РЕСТАРТА'");
        QCOMPARE(support::scalar("SELECT num FROM Contracts WHERE pk_id = " + key), QString("3"));
        QCOMPARE(count("CT_Works WHERE ct_fk = " + key), QString("2"));
        QCOMPARE(support::scalar("SELECT SUM(price) FROM CT_Works WHERE ct_fk = " + key), QString("300"));
        QCOMPARE(a.ask("close"), QString("ok"));
        QCOMPARE(a.ask("journal"), QString("ok 3"));
        QVERIFY(a.quit());
        QVERIFY(b.quit());
    }

    void serverAwayLongerThanTheRetries() {
        freshDatabase(QStringLiteral("stop.fdb"));
        Workstation a(dbPath, QStringLiteral("A"), {QStringLiteral("--reconnect-ms"), QStringLiteral("1500")});
        QCOMPARE(a.start(), QString("ok ready"));
        const QList<Registered> made = contractsOf((a.send("register 2"), a.answer()));
        QCOMPARE(made.size(), 2);
        const QString key = QString::number(made[0].key);
        QCOMPARE(a.ask("open " + key), "ok " + made[0].number);
        QCOMPARE(a.ask("remark НЕ_СРАЗУ"), QString("ok"));
        QCOMPARE(a.ask("work ЛИШНЯЯ 5"), QString("ok"));
        const QString typed = "ok " + made[0].number + "|НЕ_СРАЗУ|A 1 РАБОТА 1;A 1 РАБОТА 2;ЛИШНЯЯ|A 1 ЗАПЧАСТЬ";
        QCOMPARE(a.ask("editor"), typed);
        support::dropDataModule();

        server.stop();
        QVERIFY(!server.running());
        // The save waits for the server a while, then says so; the input stays.
        const QString lost = a.ask("save");
        QVERIFY2(lost.startsWith("fail Не удалось сохранить договор\\nСвязь с сервером была потеряна. "
                                 "Договор не сохранён — сохраните ещё раз.\\n"),
                 qPrintable(lost));
        qInfo("%s", qPrintable(lost));
        QCOMPARE(a.ask("status"), QString("ok"));
        QCOMPARE(a.ask("editor"), typed);

        // Back: nothing of the failed save is there, the same program saves it once.
        FBSERVER_START_OR_SKIP(server);
        support::connectDataModule(dbPath);
        QCOMPARE(count("Contracts"), QString("2"));
        QCOMPARE(count("CT_Works"), QString("4"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + key), QString("A 1"));
        QCOMPARE(a.ask("save"), QString("ok"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + key), QString("НЕ_СРАЗУ"));
        QCOMPARE(count("CT_Works WHERE ct_fk = " + key), QString("3"));
        QCOMPARE(count("CT_Works WHERE name = 'ЛИШНЯЯ'"), QString("1"));
        QCOMPARE(count("CT_Spares"), QString("2"));
        QCOMPARE(a.ask("close"), QString("ok"));
        QCOMPARE(a.ask("journal"), QString("ok 2"));
        QVERIFY(a.quit());
    }

    void writesMeetRowsDeletedOnAnotherWorkstation() {
        freshDatabase(QStringLiteral("gone.fdb"));
        Workstation a(dbPath, QStringLiteral("A"));
        QCOMPARE(a.start(), QString("ok ready"));
        QCOMPARE(a.ask("register 2"), QString("ok"));
        const QString first = support::scalar("SELECT MIN(pk_id) FROM Contracts");
        const QString car = support::scalar("SELECT MAX(pk_id) FROM Cars");
        QCOMPARE(a.ask("journal"), QString("ok 2"));

        // The contract being edited is deleted elsewhere: nothing is written.
        QVERIFY(a.ask("open " + first).startsWith("ok"));
        QCOMPARE(a.ask(QString::fromUtf8("work ЛИШНЯЯ 5")), QString("ok"));
        support::exec("DELETE FROM CT_Works WHERE ct_fk = " + first);
        support::exec("DELETE FROM CT_Spares WHERE ct_fk = " + first);
        support::exec("DELETE FROM Contracts WHERE pk_id = " + first);
        const QString refused = a.ask("save");
        QVERIFY2(refused.contains(QString::fromUtf8("Договор удалён на другом рабочем месте")), qPrintable(refused));
        QCOMPARE(count("CT_Works WHERE ct_fk = " + first), QString("0"));
        QCOMPARE(a.ask("close"), QString("ok"));

        // The car of a new contract is deleted elsewhere: no contract without a car.
        QCOMPARE(a.ask("new " + car), QString("ok"));
        support::exec("DELETE FROM Cars WHERE pk_id = " + car);
        const QString noCar = a.ask("save");
        QVERIFY2(noCar.contains(QString::fromUtf8("Машина удалена на другом рабочем месте")), qPrintable(noCar));
        QCOMPARE(count("Contracts"), QString("1"));
        QCOMPARE(a.ask("close"), QString("ok"));

        // A catalogue row renamed after it was deleted elsewhere.
        support::exec(QString::fromUtf8("INSERT INTO Works (name, price) VALUES ('ПОКРАСКА', 10)"));
        const QString work = support::scalar("SELECT MAX(pk_id) FROM Works");
        QCOMPARE(a.ask(QString::fromUtf8("rename-work ") + work + QString::fromUtf8(" ПОКРАСКА 2")), QString("ok"));
        support::exec("DELETE FROM Works WHERE pk_id = " + work);
        const QString gone = a.ask("save-work");
        QVERIFY2(gone.contains(QString::fromUtf8("Запись удалена на другом рабочем месте")), qPrintable(gone));
        QCOMPARE(count("Works"), QString("0"));
        QVERIFY(a.quit());
    }

    void anIdleWorkstationHoldsNoTransaction() {
        // A workstation that has read its lists and sits idle must not hold
        // back the server's oldest active transaction (garbage collection).
        freshDatabase(QStringLiteral("idle.fdb"));
        Workstation a(dbPath, QStringLiteral("A"));
        QCOMPARE(a.start(), QString("ok ready"));
        QCOMPARE(a.ask("register 1"), QString("ok"));
        QCOMPARE(a.ask("journal"), QString("ok 1"));
        for (int i = 0; i < 300; ++i) support::exec("UPDATE Contracts SET rem = 'X" + QString::number(i) + "'");
        DM->IBTrans.endRead();  // a fresh monitoring snapshot
        const int next = support::scalar("SELECT MON$NEXT_TRANSACTION FROM MON$DATABASE").toInt();
        const int oldest = support::scalar("SELECT MON$OLDEST_ACTIVE FROM MON$DATABASE").toInt();
        QVERIFY2(next - oldest < 20, qPrintable(QStringLiteral("oldest active %1, next %2").arg(oldest).arg(next)));
        QVERIFY(a.quit());
    }

    void sigtermEndsAProgramOnTheServer() {
        freshDatabase(QStringLiteral("signal.fdb"));
        QTemporaryDir program;
        QFile f(program.filePath(QStringLiteral("path.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(dbPath.toUtf8() + "\n");
        f.close();
        auto attachments = [] {
            DM->IBTrans.endRead();  // a fresh monitoring snapshot
            return support::scalar("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0").toInt();
        };
        const int before = attachments();
        QCOMPARE(support::endProgramWithSignal(program.path(), SIGTERM, [&](qint64) { return attachments() > before; }),
                 0);
    }

    // Two programs that find an older database on the server upgrade it
    // once between them; a workstation attached before goes on working.
    void twoUpgradesAtOnceApplyEachStepOnce() {
        support::dropDataModule();
        const QString path = server.makeDatabase(QStringLiteral("older.fdb"), true);
        fb::Connection early;
        early.databaseName = path;
        early.open();
        fb::Transaction tr(&early);
        fb::Query insert(&early, &tr);
        insert.setSQL({QStringLiteral("INSERT INTO Contracts (c_date, meh, rem, cr_fk, sysinfo) VALUES "
                                      "(CURRENT_DATE, :meh, NULL, NULL, NULL)")});
        insert.setString(QStringLiteral("meh"), QStringLiteral("ДО ОБНОВЛЕНИЯ"));
        insert.execSQL();
        tr.commit();

        QProcess first, second;
        for (QProcess* p : {&first, &second}) {
            p->setProcessChannelMode(QProcess::MergedChannels);
            p->start(QStringLiteral(TORQUIL_BINARY_DIR "/torquil-db"), {QStringLiteral("upgrade"), path});
        }
        for (QProcess* p : {&first, &second}) {
            QVERIFY(p->waitForFinished(120000));
            const QString out = QString::fromUtf8(p->readAll());
            QVERIFY2(p->exitCode() == 0, qPrintable(out));
            QVERIFY2(out.contains(QStringLiteral("version 0 -> %1").arg(app::newestSchemaVersion())), qPrintable(out));
            // A server's copy goes to the user's documents: not left there by a test.
            const QString copy = out.section(QStringLiteral("backup "), 1).section(QStringLiteral(" checked"), 0, 0);
            QVERIFY2(QFile::remove(copy), qPrintable(copy));
            QFile::remove(app::recordPath(copy));
        }
        support::connectDataModule(path);
        QCOMPARE(support::scalar("SELECT COUNT(*) || '/' || COUNT(DISTINCT version) FROM Schema_Version"),
                 QStringLiteral("%1/%1").arg(app::schemaSteps().size()));
        // The early workstation's statement, prepared before the steps, still writes.
        insert.setString(QStringLiteral("meh"), QStringLiteral("ПОСЛЕ ОБНОВЛЕНИЯ"));
        insert.execSQL();
        tr.commit();
        QCOMPARE(support::column("SELECT meh FROM Contracts ORDER BY pk_id"),
                 QStringList({"ДО ОБНОВЛЕНИЯ", "ПОСЛЕ ОБНОВЛЕНИЯ"}));
        early.close();
        support::exec("UPDATE Contracts SET km = 1000");
        QCOMPARE(support::scalar("SELECT SUM(km) FROM Contracts"), QStringLiteral("2000"));
    }

    void serverChecksThePassword() {
        // Unlike the embedded engine, the server refuses a wrong password:
        // the tests give it their administrator's login.
        fb::Connection db;
        db.databaseName = dbPath;
        db.password = QStringLiteral("wrong");
        try {
            db.open();
            QFAIL("attached with a wrong password");
        } catch (const fb::Error& e) {
            QVERIFY2(e.text().contains("user name and password are not defined"), qPrintable(e.text()));
        }
    }
};

QTEST_MAIN(TestWorkstations)
#include "tst_workstations.moc"
