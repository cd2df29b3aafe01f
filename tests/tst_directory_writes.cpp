// The directories' writes against another workstation and against a failed
// step after the write: nothing overwritten unseen, the window consistent.
// The other workstation is a second attachment of this process.
#include "program/Windows.h"
#include "cars/DC.h"
#include "catalogues/MH.h"
#include "catalogues/SE.h"
#include "catalogues/SM.h"
#include "catalogues/SP.h"
#include "catalogues/VR.h"
#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "support/Cars.h"
#include "support/Handlers.h"
#include "support/TestDb.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

// Another workstation on the same database.
class Other {
public:
    explicit Other(const QString& path) {
        db_.databaseName = path;
        db_.open();
    }
    void commit(const QString& sql) {
        run(sql);
        tr_.commit();
    }
    void hold(const QString& sql) { run(sql); }  // written, not committed: the row stays locked
    void rollback() { tr_.rollback(); }

private:
    void run(const QString& sql) {
        q_.close();
        q_.setSQL({sql});
        q_.execSQL();
    }
    fb::Connection db_;
    fb::Transaction tr_{&db_};
    fb::Query q_{&db_, &tr_};
};

// A directory with one stored row, its name column "СТАРОЕ", open for Edit.
struct Editor {
    QString table, name;              // the row's table and the column the clerk retypes
    QString otherColumn, otherValue;  // what the other workstation changes meanwhile
    std::function<void()> open, save;
    QLineEdit* field;
    const bool* editing;
};

void fill(const QStringList& statements) {
    for (const QString& s : statements) support::exec(s);
}

Editor priced(PricedCatalogue* w, const QString& table) {
    const auto open = [w, table] {
        fill({"DELETE FROM " + table, "INSERT INTO " + table + " (name, price) VALUES ('СТАРОЕ', 100)"});
        w->FormActivate();
        w->ToolButton4Click();
    };
    return {table, "name", "price", "999", open, [w] { w->ToolButton8Click(); }, w->Box1->lineEdit(), &w->Editing};
}

// The master level of a dictionary, or with `detail` given the detail level.
Editor dictionary(TwoLevelDictionary* w, const QString& master, const QString& detail = {}, const QString& link = {}) {
    const bool isDetail = !detail.isEmpty();
    const auto open = [=] {
        fill({"DELETE FROM " + (isDetail ? detail : master), "DELETE FROM " + master,
              "INSERT INTO " + master + " (name) VALUES ('СТАРОЕ')"});
        if (isDetail) fill({"INSERT INTO " + detail + " (name, " + link + ") SELECT name, pk_id FROM " + master});
        w->FormActivate();
        isDetail ? w->BitBtn22Click() : w->BitBtn12Click();
    };
    const auto save = [w, isDetail] { isDetail ? w->BitBtn23Click() : w->BitBtn13Click(); };
    return {isDetail ? detail : master, "name", "name", "'ЧУЖОЕ'", open, save, isDetail ? w->Edit2 : w->Edit1,
            &w->Editing};
}

Editor editor(const QString& name) {
    if (name == "VR") return priced(VR, "Works");
    if (name == "SP") return priced(SP, "Spares");
    if (name == "SM") return dictionary(SM, "dev");
    if (name == "SE") return dictionary(SE, "engines", "engine_sp", "en_fk");
    if (name == "MH") {
        const auto open = [] {
            fill({"DELETE FROM meh", "INSERT INTO meh (name) VALUES ('СТАРОЕ')"});
            MH->FormActivate();
            MH->ToolButton4Click();
        };
        return {"meh", "name", "name", "'ЧУЖОЕ'", open, [] { MH->ToolButton8Click(); }, MH->Edit1, &MH->Editing};
    }
    const auto open = [] {
        fill({"DELETE FROM Cars"});
        support::addCar({{"owner", "СТАРОЕ"}});
        DC->FormActivate();
        DC->ToolButton4Click();
    };
    return {"Cars", "owner", "phone", "'999'", open, [] { DC->ToolButton8Click(); }, DC->Box10->lineEdit(),
            &DC->Editing};
}

}  // namespace

class TestDirectoryWrites : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        path = support::openWindows(dir);
    }
    void cleanupTestCase() { program::destroyForms(); }

    void anotherWorkstationsChangeIsNotOverwrittenUnseen_data() {
        QTest::addColumn<QString>("window");
        for (const char* w : {"VR", "SP", "MH", "DC", "SM", "SE"}) QTest::newRow(w) << w;
    }
    void anotherWorkstationsChangeIsNotOverwrittenUnseen() {
        QFETCH(QString, window);
        const Editor e = editor(window);
        e.open();
        QVERIFY(*e.editing);
        e.field->setText("МОЁ");
        const QString mine = "SELECT COUNT(*) FROM " + e.table + " WHERE " + e.name + " = 'МОЁ'";
        const QString theirs = "SELECT " + e.otherColumn + " FROM " + e.table;
        const QString stored = QString(e.otherValue).remove('\'');
        Other other(path);
        other.commit("UPDATE " + e.table + " SET " + e.otherColumn + " = " + e.otherValue);

        // Changed since Edit: nothing written, the stored value named, the input kept.
        const QString refused = support::errorOf(e.save);
        QVERIFY2(refused.startsWith("Запись изменена на другом рабочем месте") && refused.contains(stored),
                 qPrintable(refused));
        QCOMPARE(support::scalar(mine), QString("0"));
        QCOMPARE(support::scalar(theirs), stored);
        QVERIFY(*e.editing);
        QCOMPARE(e.field->text(), QString("МОЁ"));

        // Being changed there right now: refused at once, nothing written.
        other.hold("UPDATE " + e.table + " SET " + e.otherColumn + " = " + e.otherValue);
        const QString locked = support::errorOf(e.save);
        QVERIFY2(locked.contains("conflicts with concurrent update"), qPrintable(locked));
        other.rollback();
        QCOMPARE(support::scalar(mine), QString("0"));
        QVERIFY(*e.editing);

        // Told what is stored, the clerk saves again: the input is written.
        QCOMPARE(support::errorOf(e.save), QString());
        QCOMPARE(support::scalar(mine), QString("1"));
        QVERIFY(!*e.editing);
    }

    // The car is stored, adding its make to the dictionary fails: the list
    // is read again and the fields show its current row, never the new car
    // over another one (which the next Edit + Save would overwrite).
    void failedStepAfterTheWriteLeavesTheDirectoryConsistent() {
        fill({"DELETE FROM Cars", "DELETE FROM models", "DELETE FROM dev"});
        support::addCar({{"dev", "АУДИ"}, {"owner", "ПЕРВЫЙ"}});
        support::addCar({{"dev", "ВАЗ"}, {"owner", "ВТОРОЙ"}});
        fill({"CREATE EXCEPTION dictionary_closed 'dictionary closed'",
              "CREATE TRIGGER dev_closed FOR dev BEFORE INSERT AS BEGIN EXCEPTION dictionary_closed; END"});
        DC->FormActivate();
        DC->ToolButton2Click();
        DC->Box1->setText("ЯГУАР");
        DC->Box5->setText("2010");
        DC->Box10->setText("НОВЫЙ");
        const QString error = support::errorOf([] { DC->ToolButton8Click(); });
        fill({"DROP TRIGGER dev_closed", "DROP EXCEPTION dictionary_closed"});

        QVERIFY2(error.contains("dictionary closed"), qPrintable(error));
        QCOMPARE(support::count("Cars"), 3);
        QVERIFY(!DC->pending());
        QCOMPARE(DC->Grid_cars->rowCount(), 4);
        const QString key = DC->Grid_cars->cell(0, DC->Grid_cars->currentRow());
        QCOMPARE(DC->Box10->text(), support::scalar("SELECT owner FROM Cars WHERE pk_id = " + key));
        QCOMPARE(DC->Box1->text(), support::scalar("SELECT dev FROM Cars WHERE pk_id = " + key));
    }
};

QTEST_MAIN(TestDirectoryWrites)
#include "tst_directory_writes.moc"
