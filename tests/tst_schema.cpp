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
#include "rtl/Money.h"
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

// Each contract's labour, parts and paid as the program adds its rows up,
// beside the sums the database keeps ("-" for none), one line a contract.
QStringList contractSums() {
    fb::Query q(&DM->IBDbase, &DM->IBTrans);
    QMap<int, QStringList> out;
    QMap<int, std::optional<rtl::Money>> labour, parts;
    QMap<int, rtl::Money> paid;
    const auto add = [](std::optional<rtl::Money>& sum, double v, qint64 n) {
        if (!sum) return;
        if (!rtl::Money::fits(v * double(n))) sum.reset();
        else *sum += rtl::Money::times(v, n);
    };
    q.setSQL({"SELECT pk_id, works_sum, spares_sum, paid_sum FROM Contracts"});
    q.open();
    for (int i = 0; i < q.rows().rowCount(); ++i) {
        const int ct = int(q.rows().integer(i, 0));
        labour[ct] = parts[ct] = rtl::Money();
        paid[ct] = rtl::Money();
        for (int c = 1; c <= 3; ++c)
            out[ct] << (q.rows().isNull(i, c) ? QString("-") : QString::number(q.rows().scaledInteger(i, c, -4)));
    }
    q.setSQL({"SELECT ct_fk, price, 1 FROM CT_Works"});
    q.open();
    for (int i = 0; i < q.rows().rowCount(); ++i) add(labour[int(q.rows().integer(i, 0))], q.rows().number(i, 1), 1);
    q.setSQL({"SELECT ct_fk, price, num FROM CT_Spares"});
    q.open();
    for (int i = 0; i < q.rows().rowCount(); ++i)
        add(parts[int(q.rows().integer(i, 0))], q.rows().number(i, 1), q.rows().integer(i, 2));
    q.setSQL({"SELECT ct_fk, amount, method FROM Payments"});
    q.open();
    for (int i = 0; i < q.rows().rowCount(); ++i) {
        const rtl::Money m = rtl::Money::fromUnits(q.rows().scaledInteger(i, 1, -2) * 100);
        paid[int(q.rows().integer(i, 0))] += q.rows().text(i, 2) == "ВОЗВРАТ" ? rtl::Money::fromUnits(-m.units()) : m;
    }
    q.close();
    QStringList lines;
    for (auto it = out.begin(); it != out.end(); ++it) {
        const auto text = [](const std::optional<rtl::Money>& m) { return m ? QString::number(m->units()) : QString("-"); };
        lines << QString("%1: kept %2, made %3|%4|%5")
                     .arg(it.key())
                     .arg(it->join('|'), text(labour[it.key()]), text(parts[it.key()]))
                     .arg(paid[it.key()].units());
    }
    return lines;
}

// Every contract's kept sums equal the ones made here.
#define VERIFY_SUMS()                                                                         \
    for (const QString& line : contractSums())                                                \
        QVERIFY2(line.section("kept ", 1).section(", made ", 0, 0) == line.section(", made ", 1), qPrintable(line))

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
        VERIFY_SUMS();
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

    // The sums each contract keeps follow every change of its lines and
    // payments, and a line past the money limit leaves its sum empty.
    void contractSumsFollowEveryChange() {
        support::connectDataModule(support::makeDatabase(dir, "sums.fdb"));
        support::exec("INSERT INTO Cars (dev, owner) VALUES ('ВАЗ', 'ОРЛОВ')");
        const int car = support::lastKey("Cars");
        QList<int> ct;
        for (int i = 0; i < 3; ++i) {
            support::exec(QString("INSERT INTO Contracts (c_date, cr_fk) VALUES (CURRENT_DATE, %1)").arg(car));
            ct << support::lastKey("Contracts");
        }
        for (const char* price : {"1234.5678", "0.125", "0.00005", "19.99", "NULL"})
            support::exec(QString("INSERT INTO CT_Works (ct_fk, name, price) VALUES (%1, 'Р', %2)").arg(ct[0]).arg(price));
        for (const char* line : {"0.3333, 3", "2.5, NULL", "99.99, 7", "-10, 1"})
            support::exec(QString("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (%1, 'Д', %2)").arg(ct[0]).arg(line));
        for (const char* pay : {"1000.10', 'НАЛИЧНЫЕ", "0.01', 'КАРТА", "300', 'ВОЗВРАТ"})
            support::exec(QString("INSERT INTO Payments (ct_fk, p_date, amount, method) VALUES (%1, CURRENT_DATE, '%2')")
                              .arg(ct[0]).arg(pay));
        VERIFY_SUMS();
        QCOMPARE(support::scalar(QString("SELECT works_sum FROM Contracts WHERE pk_id = %1").arg(ct[2])), QString("0"));
        // Changed, moved to another contract, deleted.
        support::exec("UPDATE CT_Works SET price = price * 3 WHERE price < 1");
        support::exec(QString("UPDATE CT_Spares SET ct_fk = %1 WHERE price > 50").arg(ct[1]));
        support::exec(QString("UPDATE Payments SET ct_fk = %1 WHERE method = 'КАРТА'").arg(ct[1]));
        support::exec("DELETE FROM CT_Works WHERE price > 1000");
        support::exec("DELETE FROM Payments WHERE method = 'ВОЗВРАТ'");
        VERIFY_SUMS();
        // Past the limit: no sum until the line is gone again.
        support::exec(QString("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (%1, 'Д', 1e12, 1)").arg(ct[1]));
        QCOMPARE(support::scalar(QString("SELECT COALESCE(spares_sum, -1) FROM Contracts WHERE pk_id = %1").arg(ct[1])), QString("-1"));
        VERIFY_SUMS();
        support::exec("DELETE FROM CT_Spares WHERE price > 1e11");
        VERIFY_SUMS();
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
