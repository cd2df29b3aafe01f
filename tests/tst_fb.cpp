// The database layer against real embedded databases.
#include "app/DM.h"
#include "app/Lookup.h"
#include "fb/Connection.h"
#include "fb/Cp1251.h"
#include "fb/Error.h"
#include "fb/InputMessage.h"
#include "fb/LockFolder.h"
#include "fb/ParamText.h"
#include "fb/Script.h"
#include "rtl/Marker.h"
#include "support/Handlers.h"
#include "support/TestDb.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestFb : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::connectDataModule(support::makeDatabase(dir));
    }
    void cleanupTestCase() { support::dropDataModule(); }

    void namedParameters() {
        const fb::ParamText p = fb::translateParams(
            "SELECT * FROM t WHERE a = :a AND b LIKE ':not' AND \"x:y\" = :B_2 -- :c\n OR a = :A /* :d */");
        QCOMPARE(p.names, QStringList({"A", "B_2", "A"}));
        QCOMPARE(p.sql, QString("SELECT * FROM t WHERE a = ? AND b LIKE ':not' AND \"x:y\" = ? -- :c\n OR a = ? /* :d */"));
        const fb::ParamText q = fb::translateParams("select 'it''s :x' from rdb$database where 1 = :one");
        QCOMPARE(q.names, QStringList({"ONE"}));
    }

    void repeatedParameterAndUnknownName() {
        support::exec("INSERT INTO meh (name) VALUES ('РЕПЕТИЦИЯ')");
        fb::Query& q = DM->iSQL;
        TDM::reset(q, "SELECT name FROM meh WHERE name = :n OR name = :n || 'X'");
        q.setString("n", "РЕПЕТИЦИЯ");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QVERIFY_THROWS_EXCEPTION(fb::Error, q.setString("nosuch", "x"));
    }

    void cp1251RoundTripAndRefusal() {
        const QString all = QString::fromUtf8("ЁёАаЯя№ «»—€ “quotes” ‰ Ђђ");
        QCOMPARE(fb::fromCp1251(fb::toCp1251(all).constData(), fb::toCp1251(all).size()), all);
        support::exec("DELETE FROM dev");
        fb::Query& ins = DM->iSQL;
        TDM::reset(ins, "INSERT INTO dev (name) VALUES (:name)");
        ins.setString("name", all);
        DM->execCommit(ins);
        QCOMPARE(support::scalar("SELECT name FROM dev"), all);
        // Stored as single bytes: the column length counts characters of Windows-1251.
        QCOMPARE(support::scalar("SELECT OCTET_LENGTH(name) FROM dev"), QString::number(all.size()));

        TDM::reset(ins, "INSERT INTO dev (name) VALUES (:name)");
        QVERIFY_THROWS_EXCEPTION(fb::EncodingError, ins.setString("name", QString::fromUtf8("ПЕЖО 日本")));
        try {
            fb::toCp1251(QString::fromUtf8("a✓b"));
            QFAIL("no error");
        } catch (const fb::EncodingError& e) {
            QVERIFY(e.text().contains(QString::fromUtf8("✓")));
            QVERIFY(e.text().contains("Windows-1251"));
        }
        // A character beyond 16 bits is named whole, not by half of its pair.
        const fb::EncodingError emoji = [] {
            try {
                fb::toCp1251(QString::fromUtf8("ЁЖ😀"));
            } catch (const fb::EncodingError& e) {
                return e;
            }
            return fb::EncodingError(0);
        }();
        QCOMPARE(emoji.character(), U'\U0001F600');
        QVERIFY2(emoji.text().contains(QString::fromUtf8("«😀» (U+1F600)")), qPrintable(emoji.text()));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM dev"), QString("1"));
    }

    void noFailureIsLost() {
        // Metadata that describes no parameter, for one text value: reading the
        // type of the parameter fails, and the calls after it succeed.
        fb::ThrowStatus st;
        const std::unique_ptr<Firebird::IMetadataBuilder, fb::Released> none(
            fb::client().master->getMetadataBuilder(st.get(), 0));
        const std::unique_ptr<Firebird::IMessageMetadata, fb::Released> described(none->getMetadata(st.get()));
        const fb::ParamValue text = QByteArray("ABC");
        try {
            fb::buildInput(described.get(), {&text});
            QFAIL("no error");
        } catch (const fb::Error& e) {
            QVERIFY2(!e.codes().empty() && !e.text().isEmpty(), qPrintable(e.text()));
        }

        // A text longer than a parameter carries is refused, not cut.
        fb::Query& q = DM->iSQL;
        TDM::reset(q, "SELECT COUNT(*) FROM dev WHERE name = :name");
        q.setString("name", QString(65535, u'Ж'));
        const QString refusal = support::errorOf([&q] { q.setString("name", QString(65536, u'Ж')); });
        QVERIFY2(refusal.contains("«name»") && refusal.contains("65 535"), qPrintable(refusal));
    }

    void engineTextsQuoteCyrillic() {
        fb::Query& q = DM->iSQL;
        TDM::reset(q, "INSERT INTO models (name, dv_fk) VALUES ('X3', :fk)");
        q.setString("fk", "ЖУК");
        const QString conversion = support::errorOf([&q] { DM->execCommit(q); });
        QVERIFY2(conversion.contains("conversion error from string \"ЖУК\""), qPrintable(conversion));
        DM->IBTrans.rollback();
        support::exec("CREATE EXCEPTION row_busy 'ЗАПИСЬ ЗАНЯТА ДРУГИМ МЕСТОМ'");
        const QString raised = support::errorOf([] { support::exec("EXECUTE BLOCK AS BEGIN EXCEPTION row_busy; END"); });
        QVERIFY2(raised.contains("ЗАПИСЬ ЗАНЯТА ДРУГИМ МЕСТОМ"), qPrintable(raised));
        DM->IBTrans.rollback();
        // A file name in the same kind of text is the system's UTF-8.
        fb::Connection other;
        other.databaseName = dir.filePath("Документы/нет.fdb");
        const QString missing = support::errorOf([&other] { other.open(); });
        QVERIFY2(missing.contains("\"" + other.databaseName + "\""), qPrintable(missing));
    }

    void charsetNoneColumnsKeepBytes() {
        // Older databases keep Windows-1251 bytes in columns of character set NONE.
        support::exec("CREATE TABLE old_names (name VARCHAR(20) CHARACTER SET NONE)");
        fb::Query& ins = DM->iSQL;
        TDM::reset(ins, "INSERT INTO old_names (name) VALUES (:name)");
        ins.setString("name", QString::fromUtf8("ЁЛКА"));
        DM->execCommit(ins);
        TDM::reset(ins, "SELECT * FROM old_names WHERE name LIKE :p");
        ins.setString("p", QString::fromUtf8("ЁЛ%"));
        ins.open();
        QCOMPARE(ins.recordCount(), 1);
        QCOMPARE(ins.field("NAME").asString(), QString::fromUtf8("ЁЛКА"));
        ins.freeStatements();  // the statements kept prepared use the table
        support::exec("DROP TABLE old_names");
    }

    void joinLookupFirstMatchAndNulls() {
        support::exec("INSERT INTO Cars (dev, mod) VALUES ('ВАЗ', '2107')");
        const QString car = support::scalar("SELECT MAX(pk_id) FROM Cars");
        // Push the contract keys past the car keys so that the two differ.
        support::exec("SET GENERATOR gen_contracts_id TO 500");
        support::exec("INSERT INTO Contracts (c_date, cr_fk, sysinfo) VALUES ('2026-01-02', " + car + ", 'm')");
        fb::Query& q = DM->iSQL;
        TDM::reset(q, "SELECT * FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id WHERE ct.sysinfo = 'm'");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.field("PK_id").asInteger(), 501);
        QCOMPARE(q.field("pk_id").asString(), QString("501"));
        QCOMPARE(q.field("Dev").asString(), QString::fromUtf8("ВАЗ"));
        QCOMPARE(q.field("C_Date").asString(), QString("02.01.2026"));
        // NULL columns read as empty text and 0.
        QVERIFY(q.field("meh").isNull());
        QCOMPARE(q.field("meh").asString(), QString());
        QCOMPARE(q.field("km").asInteger(), 0);
        QVERIFY_THROWS_EXCEPTION(fb::Error, q.field("nosuch"));
        q.close();
        // An empty result: fields read as NULL.
        TDM::reset(q, "SELECT pk_id FROM dev WHERE name = 'НЕТ ТАКОГО'");
        q.open();
        QVERIFY(q.eof());
        QCOMPARE(q.field("pk_id").asInteger(), 0);
        q.close();
    }

    void rowsHandedOverToAList() {
        support::exec("INSERT INTO Cars (dev, mod, d_year) VALUES ('ГАЗ', NULL, 1999)");
        const QString car = support::scalar("SELECT MAX(pk_id) FROM Cars");
        support::exec("INSERT INTO Contracts (num, c_date, cr_fk, sysinfo) VALUES (77, '2026-03-04', " + car + ", 'list')");
        fb::Query& q = DM->iSQL;
        TDM::reset(q, "SELECT * FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id WHERE ct.sysinfo = 'list'");
        q.open();
        const QString key = q.field("pk_id").asString();
        q.close();

        // Only the named columns, in the order given, with their types and NULLs;
        // a name found twice in the join is the first one, as for field().
        q.open({"c_date", "MOD", "d_year", "PK_ID", "num", "dev"});
        QCOMPARE(q.field("dev").asString(), QString::fromUtf8("ГАЗ"));
        QVERIFY_THROWS_EXCEPTION(fb::Error, q.field("vin"));
        fb::RowSet all = q.takeRows();
        QVERIFY(!q.isOpen());
        QCOMPARE(q.recordCount(), 0);
        const fb::RowSet& list = all;
        QCOMPARE(list.columnCount(), 6);
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(list.text(0, 0), QString("04.03.2026"));
        QVERIFY(list.isNull(0, 1));
        QCOMPARE(list.text(0, 1), QString());
        QCOMPARE(list.integer(0, 2), 1999);
        QCOMPARE(list.text(0, 3), key);
        QCOMPARE(list.integer(0, 4), 77);
        QCOMPARE(list.text(0, 5), QString::fromUtf8("ГАЗ"));
        QCOMPARE(list.indexOf("Dev"), 5);
        // An unknown name fails before anything is fetched; the query is usable after.
        QVERIFY_THROWS_EXCEPTION(fb::Error, q.open({"dev", "nosuch"}));
        QVERIFY(!q.isOpen());
        q.open();
        QCOMPARE(q.recordCount(), 1);
        q.close();

        // Moving leaves the source empty.
        fb::RowSet moved = std::move(all);
        QCOMPARE(moved.rowCount(), 1);
        QCOMPARE(all.rowCount(), 0);
        QCOMPARE(all.columnCount(), 0);
        QCOMPARE(all.text(0, 0), QString());
    }

    void statementsComeBackPrepared() {
        // One query used in turn for several texts, as the windows use iSQL:
        // each text gets its own parameters and results, a text that comes
        // back starts without values, and more texts than are kept still work.
        fb::Query& q = DM->iSQL;
        auto count = [&q](const QString& name) {
            TDM::reset(q, "SELECT COUNT(*) AS n FROM dev WHERE name = :name");
            if (!name.isNull()) q.setString("name", name);
            q.open();
            return q.field("n").asInteger();
        };
        TDM::reset(q, "INSERT INTO dev (name) VALUES (:name)");
        q.setString("name", "КЭШ");
        DM->execCommit(q);
        QCOMPARE(count("КЭШ"), 1);
        TDM::reset(q, "SELECT name FROM dev WHERE name LIKE :p");
        q.setString("p", "КЭ%");
        q.open();
        QCOMPARE(q.field("name").asString(), QString::fromUtf8("КЭШ"));
        QCOMPARE(count(QString()), 0);  // the earlier value is not carried over
        for (int i = 0; i < 40; ++i) {
            TDM::reset(q, QString("SELECT %1 AS v FROM rdb$database").arg(i));
            q.open();
            QCOMPARE(q.field("v").asInteger(), i);
        }
        QCOMPARE(count("КЭШ"), 1);

        // After a new attachment the kept statements are prepared again.
        DM->IBTrans.commit();
        DM->IBDbase.close();
        DM->IBDbase.open();
        QCOMPARE(count("КЭШ"), 1);
        TDM::reset(q, "DELETE FROM dev WHERE name = :name");
        q.setString("name", "КЭШ");
        DM->execCommit(q);
        QCOMPARE(count("КЭШ"), 0);
    }

    void typedParametersConvert() {
        fb::Query& q = DM->iSQL;
        // A quoted integer and a string into an integer column both work.
        TDM::reset(q, "INSERT INTO models (name, dv_fk) VALUES (:name, :fk)");
        q.setString("name", "X1");
        q.setString("fk", "5");
        DM->execCommit(q);
        QCOMPARE(support::scalar("SELECT dv_fk FROM models WHERE name = 'X1'"), QString("5"));
        // '' into an integer is the engine's conversion error, and nothing is written.
        TDM::reset(q, "INSERT INTO models (name, dv_fk) VALUES (:name, :fk)");
        q.setString("name", "X2");
        q.setString("fk", "");
        try {
            DM->execCommit(q);
            QFAIL("no error");
        } catch (const fb::Error& e) {
            QVERIFY2(e.text().contains("conversion error"), qPrintable(e.text()));
        }
        DM->IBTrans.commit();
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM models WHERE name = 'X2'"), QString("0"));
        // A date-time at midnight into a DATE, compared with BETWEEN.
        TDM::reset(q, "SELECT COUNT(*) FROM Contracts WHERE c_date BETWEEN :d1 AND :d2");
        q.setDateTime("d1", QDateTime(QDate(2026, 1, 2), QTime(0, 0)));
        q.setDateTime("d2", QDateTime(QDate(2026, 1, 2), QTime(0, 0)));
        q.open();
        QCOMPARE(q.field(0).asInteger(), 1);
        q.close();
        // Floating point both ways; text of a double in the general format.
        TDM::reset(q, "INSERT INTO Works (name, price) VALUES (:name, :price)");
        q.setString("name", "ТОЧНОСТЬ");
        q.setFloat("price", 250.5);
        DM->execCommit(q);
        QCOMPARE(support::scalar("SELECT price FROM Works WHERE name = 'ТОЧНОСТЬ'"), QString("250,5"));
    }

    void truncationCarriesEngineText() {
        fb::Query& q = DM->iSQL;
        TDM::reset(q, "INSERT INTO dev (name) VALUES (:name)");
        q.setString("name", QString(41, u'Ж'));
        try {
            DM->execCommit(q);
            QFAIL("no error");
        } catch (const fb::Error& e) {
            QVERIFY2(e.text().contains("string right truncation"), qPrintable(e.text()));
            QVERIFY2(e.text().contains("expected length 40, actual 41"), qPrintable(e.text()));
            QVERIFY(!e.codes().empty());
        }
    }

    void readsHoldNoWriteTransactionAndWritesRestartIt() {
        DM->IBTrans.commit();
        QVERIFY(!DM->IBTrans.active());
        QCOMPARE(support::scalar("SELECT 1 FROM RDB$DATABASE"), QString("1"));
        QVERIFY(!DM->IBTrans.active());
        TDM::reset(DM->iSQL, "UPDATE dev SET name = name WHERE pk_id = -1");
        DM->iSQL.execSQL();
        QVERIFY(DM->IBTrans.active());
        DM->IBTrans.commit();
        QVERIFY(!DM->IBTrans.active());
    }

    void writeUnitIsAllOrNothing() {
        const auto count = [] { return support::scalar("SELECT COUNT(*) FROM dev WHERE name STARTING WITH 'UNIT'").toInt(); };
        const auto insert = [](const char* name) {
            TDM::reset(DM->iSQL, "INSERT INTO dev (name) VALUES (:name)");
            DM->iSQL.setString("name", name);
            DM->execCommit(DM->iSQL);
        };
        try {
            fb::WriteUnit unit(DM->IBTrans);
            insert("UNIT1");
            QCOMPARE(count(), 1);  // a read in the unit sees its writes
            insert("UNIT2");
            throw std::runtime_error("stop");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!DM->IBTrans.active());
        QCOMPARE(count(), 0);
        {
            fb::WriteUnit unit(DM->IBTrans);
            insert("UNIT1");
            insert("UNIT2");
            unit.commit();
        }
        QVERIFY(!DM->IBTrans.active());
        QCOMPARE(count(), 2);
        support::exec("DELETE FROM dev WHERE name STARTING WITH 'UNIT'");
    }

    void generatorPreviewIsTheInsertedNumber() {
        const int preview = support::scalar("select gen_id(gen_doc_num,0) from RDB$DATABASE").toInt() + 1;
        fb::Query& ins = DM->iDoc_Ins;
        const QString marker = rtl::SysInfoMarker();
        ins.setDateTime("c_date", QDateTime(QDate::currentDate(), QTime(0, 0)));
        ins.setString("meh", "");
        ins.setString("rem", "");
        ins.setInteger("cr_fk", 1);
        ins.setString("sysinfo", marker);
        DM->execCommit(ins);
        const int key = app::readBackKey("Contracts", marker);
        QCOMPARE(support::scalar("SELECT num FROM Contracts WHERE pk_id = " + QString::number(key)).toInt(), preview);
    }

    void markerReadBackTakesTheLastOfOneSecond() {
        const QDateTime now(QDate(2026, 3, 4), QTime(9, 5, 7));
        const QString marker = rtl::SysInfoMarker(now);
        QCOMPARE(marker, QString("04.03.20269:05:07"));
        // Rows of an earlier run with the same marker, and a deleted row
        // whose space a new one may take, do not change the answer.
        support::exec("DELETE FROM Works WHERE sysinfo = '" + marker + "'");
        support::exec("INSERT INTO Works (name, price) VALUES ('УДАЛЯЕМАЯ', 1)");
        support::exec("DELETE FROM Works WHERE name = 'УДАЛЯЕМАЯ'");
        // Each insert's own row comes back, the second one too.
        for (int i = 0; i < 2; ++i) {
            fb::Query& ins = DM->iWork_Ins;
            const QString name = QString("ДВАЖДЫ %1").arg(i);
            ins.setString("name", name);
            ins.setFloat("price", 1);
            ins.setString("sysinfo", marker);
            DM->execCommit(ins);
            const int key = app::readBackKey("Works", marker);
            QCOMPARE(support::scalar("SELECT name FROM Works WHERE pk_id = " + QString::number(key)), name);
        }
    }

    void scriptSplitting() {
        const QStringList s = fb::splitScript(
            "CREATE TABLE a (x INT); -- c;\nSET TERM ^ ;\nCREATE TRIGGER t FOR a BEFORE INSERT AS BEGIN x = 1; END^\n"
            "SET TERM ; ^\n/* ; */ INSERT INTO a VALUES (';');");
        QCOMPARE(s.size(), 3);
        QVERIFY(s[1].endsWith("END"));
        QCOMPARE(s[2], QString("INSERT INTO a VALUES (';')"));
    }

    void remotePaths() {
        QVERIFY(fb::Connection::isRemotePath("127.0.0.1/3051:/srv/db/dbase.fdb"));
        QVERIFY(fb::Connection::isRemotePath("server:/srv/dbase.fdb"));
        QVERIFY(fb::Connection::isRemotePath("server:C:\\base\\dbase.fdb"));
        QVERIFY(!fb::Connection::isRemotePath("C:\\base\\dbase.fdb"));
        QVERIFY(!fb::Connection::isRemotePath("/srv/db/dbase.fdb"));
        QVERIFY(!fb::Connection::isRemotePath("dbase.fdb"));
    }

    void engineLocksInTheUsersOwnFolder() {
        // The engine of this process (attached above) keeps its files there.
        const QString folder = qEnvironmentVariable("FIREBIRD_LOCK");
        QCOMPARE(folder, fb::ownLockFolder());
        QVERIFY(!QDir(folder).entryList({"fb_lock_*"}, QDir::Files).isEmpty());
        if (::geteuid() != 0) QSKIP("another user's folders need root to make");

        // Another user's runtime folder (sudo -E) is passed over; in the
        // temporary folder this user's own is made and kept closed to others...
        QTemporaryDir other;
        QCOMPARE(::chown(QFile::encodeName(other.path()).constData(), 65534, 65534), 0);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), tmp = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(other.path()));
        qputenv("TMPDIR", QFile::encodeName(other.path()));
        const QString mine = other.filePath("torquil-firebird-0");
        const QByteArray path = QFile::encodeName(mine);
        auto mode = [&] { struct stat st {}; ::stat(path.constData(), &st); return int(st.st_mode & 0777); };
        QCOMPARE(fb::ownLockFolder(), mine);
        QCOMPARE(mode(), 0700);
        ::chmod(path.constData(), 0777);
        QCOMPARE(fb::ownLockFolder(), mine);
        QCOMPARE(mode(), 0700);
        // ...and one that another user made first is refused.
        QCOMPARE(::chown(path.constData(), 65534, 65534), 0);
        QVERIFY(fb::ownLockFolder().isEmpty());
        qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("TMPDIR", tmp);
    }

    void failedAttachCarriesEngineText() {
        fb::Connection db;
        db.databaseName = dir.filePath("missing.fdb");
        try {
            db.open();
            QFAIL("no error");
        } catch (const fb::Error& e) {
            QVERIFY2(!e.text().isEmpty(), "empty text");
        }
        QVERIFY(!db.connected());
    }
};

QTEST_GUILESS_MAIN(TestFb)
#include "tst_fb.moc"
