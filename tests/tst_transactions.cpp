// Write transactions under failure and beside other workstations: a refused
// write, a failed inner unit, rows held while a unit writes under them, and
// the answers the engine could not give.
#include "app/DM.h"
#include "app/Lookup.h"
#include "app/RowGone.h"
#include "fb/Client.h"
#include "fb/Error.h"
#include "support/Cars.h"
#include "support/Handlers.h"
#include "support/OtherAttachment.h"
#include "support/TestDb.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

int activeWriteTransactions() {
    // The monitoring tables are a snapshot per transaction: read a fresh one.
    DM->IBTrans.endRead();
    return support::scalar("SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION "
                           "AND MON$STATE = 1 AND MON$READ_ONLY = 0")
        .toInt();
}

void insertDev(const QString& name) {
    TDM::reset(DM->iSQL, "INSERT INTO dev (name) VALUES (:name)");
    DM->iSQL.setString("name", name);
    DM->execCommit(DM->iSQL);
}

QString deleteCar(int key) { return "DELETE FROM Cars WHERE pk_id = " + QString::number(key); }

// A statement whose count of changed rows the engine cannot give (the server
// lost after the statement ran).
class NoCountStatement : public Firebird::IStatementImpl<NoCountStatement, Firebird::CheckStatusWrapper> {
public:
    using Status = Firebird::CheckStatusWrapper;
    ISC_UINT64 getAffectedRecords(Status* status) override {
        static const ISC_STATUS lost[] = {isc_arg_gds, 335544721L /* isc_network_error */, isc_arg_string,
                                          ISC_STATUS("server"), isc_arg_end};
        status->setErrors(lost);
        return 0;
    }
    void getInfo(Status*, unsigned, const unsigned char*, unsigned, unsigned char*) override {}
    unsigned getType(Status*) override { return 0; }
    const char* getPlan(Status*, FB_BOOLEAN) override { return nullptr; }
    Firebird::IMessageMetadata* getInputMetadata(Status*) override { return nullptr; }
    Firebird::IMessageMetadata* getOutputMetadata(Status*) override { return nullptr; }
    Firebird::ITransaction* execute(Status*, Firebird::ITransaction*, Firebird::IMessageMetadata*, void*,
                                    Firebird::IMessageMetadata*, void*) override {
        return nullptr;
    }
    Firebird::IResultSet* openCursor(Status*, Firebird::ITransaction*, Firebird::IMessageMetadata*, void*,
                                     Firebird::IMessageMetadata*, unsigned) override {
        return nullptr;
    }
    void setCursorName(Status*, const char*) override {}
    void free(Status*) override {}
    unsigned getFlags(Status*) override { return 0; }
    void addRef() override {}
    int release() override { return 0; }
};

}  // namespace

class TestTransactions : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::connectDataModule(support::makeDatabase(dir));
    }
    void cleanupTestCase() { support::dropDataModule(); }
    void init() { support::exec("DELETE FROM dev"); }

    void refusedWriteLeavesNoWriteTransaction() {
        QCOMPARE(activeWriteTransactions(), 0);
        const QString refusal = support::errorOf([] { insertDev(QString(41, u'Я')); });
        QVERIFY2(refusal.contains("truncation"), qPrintable(refusal));
        QCOMPARE(activeWriteTransactions(), 0);
        QVERIFY(!DM->IBTrans.active());
        insertDev("ВАЗ");  // the next write starts afresh
        QCOMPARE(support::count("dev"), 1);
    }

    // An inner unit that failed took the outer unit's writes with it: nothing
    // after it may be committed, and the outer commit says so.
    void failedInnerUnitRefusesTheRestOfTheOuter() {
        {
            fb::WriteUnit unit(DM->IBTrans);
            insertDev("ДО");
            try {
                fb::WriteUnit inner(DM->IBTrans);
                insertDev("ВНУТРИ");
                throw std::runtime_error("inner");
            } catch (const std::runtime_error&) {
            }
            QVERIFY(!support::errorOf([] { insertDev("ПОСЛЕ"); }).isEmpty());
            QCOMPARE(support::count("dev"), 0);  // reads go on
            QVERIFY(!support::errorOf([&unit] { unit.commit(); }).isEmpty());
        }
        QCOMPARE(support::count("dev"), 0);
        QVERIFY(!DM->IBTrans.active());
        QVERIFY(!DM->IBTrans.unitFailed());
        {
            fb::WriteUnit unit(DM->IBTrans);
            fb::WriteUnit inner(DM->IBTrans);
            insertDev("СНОВА");
            inner.commit();
            QVERIFY(DM->IBTrans.active());  // only the outermost commits
            unit.commit();
        }
        QCOMPARE(support::column("SELECT name FROM dev"), QStringList{"СНОВА"});
    }

    void heldCarRefusesADeleteElsewhere() {
        const int car = support::addCar();
        support::OtherAttachment other;
        {
            fb::WriteUnit unit(DM->IBTrans);
            app::requireCar(car);
            const QString refused = other.tryExec(deleteCar(car));
            QVERIFY2(refused.contains("conflict"), qPrintable(refused));
            unit.commit();
        }
        QCOMPARE(support::count("Cars", "pk_id = " + QString::number(car)), 1);
        QCOMPARE(other.tryExec(deleteCar(car)), QString());
        fb::WriteUnit unit(DM->IBTrans);
        QCOMPARE(support::errorOf([car] { app::requireCar(car); }), app::carGoneText());
    }

    void carBeingDeletedElsewhereRefusesTheSave() {
        const int car = support::addCar();
        support::OtherAttachment other;
        other.run(deleteCar(car));  // not committed yet
        {
            fb::WriteUnit unit(DM->IBTrans);
            QCOMPARE(support::errorOf([car] { app::requireCar(car); }), app::rowBusyText());
        }
        other.rollback();
        fb::WriteUnit unit(DM->IBTrans);
        app::requireCar(car);  // free again
    }

    void markerWithoutARowIsAnError() {
        QCOMPARE(support::errorOf([] { app::readBackKey("Works", "01.01.20009:00:00#7"); }),
                 QString("Не удалось прочитать ключ новой записи: в таблице Works нет строки с отметкой "
                         "«01.01.20009:00:00#7»."));
    }

    void countTheEngineCouldNotGiveIsAnError() {
        NoCountStatement lost;
        const QString count = support::errorOf([&lost] { fb::affectedRows(&lost); });
        QVERIFY2(count.startsWith("Не удалось узнать, сколько строк изменено: Unable to complete network request"),
                 qPrintable(count));
    }
};

QTEST_GUILESS_MAIN(TestTransactions)
#include "tst_transactions.moc"
