// The car directory over a real database, with the whole set of windows.
#include "app/DM.h"
#include "program/Windows.h"
#include "app/WindowFlow.h"
#include "cars/DC.h"
#include "contracts/MF.h"
#include "fb/Error.h"
#include "rtl/Convert.h"
#include "support/Handlers.h"
#include "support/Cars.h"
#include "support/TestDb.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QApplication>
#include <QDate>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

using support::count;
using support::retype;
using support::typeText;

int addCar(const QString& dev, const QString& mod, const QString& owner = "ИВАНОВ") {
    return support::addCar({{"dev", dev}, {"mod", mod}, {"owner", owner}});
}

bool browsing() {
    return !DC->Adding && !DC->Editing && !DC->GP->isEnabled() && DC->Grid_cars->isEnabled() &&
           !DC->ToolButton8->isEnabled();
}

void select(int row) {
    DC->Grid_cars->setCurrentRow(row);
    DC->Grid_carsClick();
}

}  // namespace

class TestCarDirectory : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
    }
    void cleanupTestCase() { program::destroyForms(); }
    void init() {
        for (const char* t : {"Contracts", "Cars", "models", "dev", "engine_sp", "engines", "body_sp", "body"})
            support::exec(QString("DELETE FROM ") + t);
        DC->FormActivate();
    }

    void emptyTable() {
        QVERIFY(browsing());
        QCOMPARE(DC->Grid_cars->rowCount(), 2);
        QCOMPARE(DC->Grid_cars->cell(1, 0), QString("  МАРКА/МОДЕЛЬ"));
        QCOMPARE(DC->Grid_cars->cell(9, 0), QString("  ТЕЛЕФОН"));
        for (int c = 0; c < 10; ++c) QVERIFY(DC->Grid_cars->cell(c, 1).isEmpty());
        DC->ToolButton4Click();
        QVERIFY(browsing());
        widgets::MessageRecorder rec(true);
        DC->ToolButton7Click();
        QVERIFY(rec.isEmpty());
        QVERIFY(DC->isEnabled());
        DC->ToolButton2Click();
        QVERIFY(DC->Adding);
        QVERIFY(DC->GP->isEnabled());
        QVERIFY(!DC->Grid_cars->isEnabled());
    }

    void listAndFields() {
        addCar("ЛАДА", "ВЕСТА");
        addCar("ВАЗ", "2107", "ПЕТРОВ");
        support::exec("UPDATE Cars SET km = NULL WHERE dev = 'ВАЗ'");
        DC->FormActivate();
        QCOMPARE(DC->Grid_cars->rowCount(), 3);
        QCOMPARE(DC->Grid_cars->cell(1, 1), QString("  ВАЗ  2107"));
        QCOMPARE(DC->Grid_cars->cell(2, 1), QString("  А001АА  77"));
        QCOMPARE(DC->Grid_cars->cell(3, 1), QString("  2005"));
        QCOMPARE(DC->Grid_cars->cell(4, 1), QString("  0"));
        QCOMPARE(DC->Grid_cars->cell(4, 2), QString("  120000"));
        QCOMPARE(DC->Grid_cars->cell(6, 1), QString("  БЕНЗИН 1.6"));
        QCOMPARE(DC->Grid_cars->cell(7, 1), QString("  СЕДАН 4Д"));
        QCOMPARE(DC->Grid_cars->cell(8, 1), QString("  ПЕТРОВ"));
        QCOMPARE(DC->Box1->text(), QString("ВАЗ"));
        QVERIFY(DC->Edit1->text().isEmpty());
        select(2);
        QCOMPARE(DC->Box2->text(), QString("ВЕСТА"));
        QCOMPARE(DC->Box81->text(), QString("1.6"));
        QCOMPARE(DC->Edit1->text(), QString("120000"));
        QCOMPARE(DC->Box10->text(), QString("ИВАНОВ"));
    }

    void emptyFormFailsOnTheYear() {
        addCar("ЛАДА", "ВЕСТА");
        DC->FormActivate();
        QCOMPARE(DC->Edit1->text(), QString("120000"));
        DC->ToolButton2Click();
        QVERIFY(DC->ToolButton8->isEnabled());  // the mileage was emptied
        QVERIFY(DC->Box1->text().isEmpty());
        try {
            DC->ToolButton8Click();
            QFAIL("no error");
        } catch (const rtl::ConvertError& e) {
            QCOMPARE(e.text(), QString("'' is not a valid integer value"));
        }
        QCOMPARE(count("Cars"), 1);
        QCOMPARE(count("dev"), 0);  // no dictionary name for a car not saved
        // The mode stays with the typed values: corrected, the car is saved.
        QVERIFY(DC->Adding);
        QVERIFY(DC->GP->isEnabled());
        typeText(DC->Box5, "1999");
        DC->ToolButton8Click();
        QCOMPARE(count("Cars"), 2);
        QVERIFY(browsing());
    }

    void newCarAddsItsDictionaryNames() {
        support::exec("INSERT INTO dev (name) VALUES ('ЛАДА')");
        support::exec("INSERT INTO models (name, dv_fk) VALUES ('ВЕСТА', (SELECT pk_id FROM dev))");
        DC->FormActivate();
        QCOMPARE(DC->Box1->items(), QStringList{"ЛАДА"});
        DC->ToolButton2Click();
        typeText(DC->Box1, "л");  // completed to the stored make; its models fill Box2
        QCOMPARE(DC->Box1->text(), QString("ЛАДА"));
        QCOMPARE(DC->Box2->items(), QStringList{"ВЕСТА"});
        typeText(DC->Box2, "гранта");
        typeText(DC->Box3, "в777ор");
        typeText(DC->Box5, "2020");
        typeText(DC->Edit1, "15000");
        typeText(DC->Box8, "дизель");
        typeText(DC->Box81, "2.0");
        typeText(DC->Box9, "универсал");
        typeText(DC->Box10, "о'нил");
        QVERIFY(DC->ToolButton8->isEnabled());
        DC->ToolButton8Click();
        QCOMPARE(count("Cars"), 1);
        QCOMPARE(count("Cars", "dev = 'ЛАДА' AND mod = 'ГРАНТА' AND gnum = 'В777ОР' AND d_year = 2020 AND km = 15000 "
                               "AND owner = 'О''НИЛ' AND sysinfo IS NULL"),
                 1);
        QCOMPARE(count("dev"), 1);
        QCOMPARE(count("models", "name = 'ГРАНТА' AND dv_fk = (SELECT pk_id FROM dev)"), 1);
        QCOMPARE(count("engines", "name = 'ДИЗЕЛЬ'"), 1);
        QCOMPARE(count("engine_sp", "name = '2.0'"), 1);
        QCOMPARE(count("body", "name = 'УНИВЕРСАЛ'"), 1);
        QCOMPARE(count("body_sp", "name = ''"), 1);  // empty names are added too
        QVERIFY(browsing());
        QCOMPARE(DC->Grid_cars->cell(1, 1), QString("  ЛАДА  ГРАНТА"));
        QCOMPARE(DC->Box8->items(), QStringList{"ДИЗЕЛЬ"});
    }

    void editWritesTheCurrentCarAndFindsItsNames() {
        addCar("ВАЗ", "2107");
        const int second = addCar("ЛАДА", "ВЕСТА");
        DC->FormActivate();
        select(2);
        DC->ToolButton8Click();  // browsing: the disabled button's handler writes nothing
        QCOMPARE(count("dev"), 0);
        DC->ToolButton4Click();
        QVERIFY(DC->Editing);
        QVERIFY(!DC->ToolButton8->isEnabled());
        retype(DC->Box10, "сидоров");
        QVERIFY(DC->ToolButton8->isEnabled());
        DC->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT owner FROM Cars WHERE pk_id = " + QString::number(second)), QString("СИДОРОВ"));
        QCOMPARE(count("Cars", "owner = 'ИВАНОВ'"), 1);
        QCOMPARE(count("dev"), 1);
        QCOMPARE(count("models"), 1);
        // Saved again unchanged: the names are found and left alone.
        select(2);
        DC->ToolButton4Click();
        DC->ToolButton8Click();
        QCOMPARE(count("dev"), 1);
        QCOMPARE(count("models"), 1);
        QCOMPARE(count("engines"), 1);
        QCOMPARE(count("engine_sp"), 1);
    }

    void escRestoresTheStoredValues() {
        addCar("ЛАДА", "ВЕСТА");
        DC->FormActivate();
        DC->ToolButton4Click();
        retype(DC->Box1, "УАЗ");
        DC->Edit1->setText("5");
        QTest::keyClick(DC->Box3, Qt::Key_Escape);
        QVERIFY(browsing());
        QCOMPARE(DC->Box1->text(), QString("ЛАДА"));
        QCOMPARE(DC->Edit1->text(), QString("120000"));
        QCOMPARE(count("Cars", "dev = 'ЛАДА' AND km = 120000"), 1);
        DC->ToolButton2Click();
        typeText(DC->Box1, "ГАЗ");
        QTest::keyClick(DC->Edit1, Qt::Key_Escape);
        QCOMPARE(DC->Box1->text(), QString("ЛАДА"));
        QCOMPARE(count("Cars"), 1);
    }

    void oneModeAtATime() {
        addCar("ЛАДА", "ВЕСТА");
        DC->FormActivate();
        DC->ToolButton2Click();
        DC->ToolButton4Click();  // ignored: the selected car is never overwritten
        QVERIFY(!DC->Editing);
        typeText(DC->Box1, "УАЗ");
        typeText(DC->Box5, "1980");
        DC->ToolButton8Click();
        QCOMPARE(count("Cars"), 2);
        QCOMPARE(count("Cars", "dev = 'ЛАДА' AND owner = 'ИВАНОВ'"), 1);
        DC->ToolButton4Click();
        typeText(DC->Box10, "Х");
        DC->ToolButton2Click();  // ignored: the fields keep the edit
        QVERIFY(DC->Editing);
        QVERIFY(!DC->Adding);
        QVERIFY(!DC->Box1->text().isEmpty());
    }

    void deletingACarHidesItsContractsFromTheJournal() {
        const int car = addCar("ЛАДА", "ВЕСТА");
        addCar("ВАЗ", "2107");
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        support::exec("INSERT INTO Contracts (c_date, meh, cr_fk) VALUES ('" + today + "', 'ИВАНОВ', " +
                      QString::number(car) + ")");
        MF->RefillJournal();
        QCOMPARE(MF->Grid_doc->cell(3, 1), QString("  ЛАДА - ВЕСТА"));
        DC->FormActivate();
        select(2);
        QCOMPARE(DC->Box1->text(), QString("ЛАДА"));
        widgets::MessageRecorder rec(false);
        DC->ToolButton7Click();
        QCOMPARE(rec.lastText(), QString("Внимание! Запись будет удалена, продолжить ?"));
        QCOMPARE(rec.lastCaption(), QString("Удаление"));
        QCOMPARE(count("Cars"), 2);
        rec.queueAnswer(true);
        DC->ToolButton7Click();
        QCOMPARE(count("Cars"), 1);
        QCOMPARE(count("Contracts"), 1);  // the contract stays in its table
        QVERIFY(DC->isEnabled());
        QCOMPARE(DC->Grid_cars->currentRow(), 1);
        MF->RefillJournal();
        QCOMPARE(MF->Grid_doc->rowCount(), 2);
        QVERIFY(MF->Grid_doc->cell(0, 1).isEmpty());
        // Not while a mode is on.
        rec.clear();
        DC->ToolButton2Click();
        DC->ToolButton7Click();
        QVERIFY(rec.isEmpty());
    }

    void failedDeleteLeavesTheWindowEnabled() {
        addCar("ЛАДА", "ВЕСТА");
        DC->FormActivate();
        support::exec("CREATE EXCEPTION no_delete 'kept'");
        support::exec("CREATE TRIGGER keep_cars FOR Cars BEFORE DELETE AS BEGIN EXCEPTION no_delete; END");
        widgets::MessageRecorder rec(true);
        QVERIFY_THROWS_EXCEPTION(fb::Error, DC->ToolButton7Click());
        QVERIFY(DC->isEnabled());
        QVERIFY(browsing());
        support::exec("DROP TRIGGER keep_cars");
        support::exec("DROP EXCEPTION no_delete");
    }

    void comingBackKeepsTheEntryBeingTyped() {
        app::openModeless(DC);
        DC->ToolButton2Click();
        retype(DC->Box1, "УАЗ");
        support::userActivates(MF);  // disabled: no activation
        QVERIFY(!MF->isEnabled());
        support::userActivates(DC);
        QVERIFY(DC->Adding);
        QCOMPARE(DC->Box1->text(), QString("УАЗ"));
        DC->close();
    }

    // Another workstation changes and deletes cars while the directory is
    // open: coming back to it shows them, with the same car and search.
    void comingBackRereadsTheList() {
        const int vaz = addCar("ВАЗ", "2107", "ПЕТРОВ");
        addCar("ЛАДА", "ВЕСТА", "СИДОРОВ");
        const int uaz = addCar("УАЗ", "469", "ОРЛОВ");
        app::openModeless(DC);
        typeText(DC->EditFind, "ов");
        select(2);
        support::exec("DELETE FROM Cars WHERE pk_id = " + QString::number(vaz));
        support::exec("UPDATE Cars SET owner = 'ОРЛОВА' WHERE pk_id = " + QString::number(uaz));
        QEvent away(QEvent::WindowDeactivate);
        QApplication::sendEvent(DC, &away);
        support::userActivates(DC);
        QCOMPARE(DC->Grid_cars->rowCount(), 3);
        QCOMPARE(DC->Grid_cars->currentRow(), 1);
        QCOMPARE(DC->Box10->text(), QString("СИДОРОВ"));
        QCOMPARE(DC->Grid_cars->cell(8, 2), QString("  ОРЛОВА"));
        QCOMPARE(DC->EditFind->text(), QString("ОВ"));
        // A search that finds nothing shows no car.
        typeText(DC->EditFind, "Я");
        QVERIFY(DC->Grid_cars->cell(0, 1).isEmpty());
        QVERIFY(DC->Box1->text().isEmpty());
        QVERIFY(DC->Box10->text().isEmpty());
        // Opened again, it lists every car.
        DC->close();
        app::openModeless(DC);
        QVERIFY(DC->EditFind->text().isEmpty());
        QCOMPARE(DC->Grid_cars->rowCount(), 3);
        DC->close();
    }

    // After a save and a delete the keys work on the list at once.
    void theListHasTheFocusAfterAWrite() {
        addCar("ВАЗ", "2107");
        addCar("ЛАДА", "ВЕСТА");
        app::openModeless(DC);
        DC->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(DC));
        DC->ToolButton4Click();
        retype(DC->Box10, "СИДОРОВ");
        DC->ToolButton8->click();
        QVERIFY(DC->Grid_cars->hasFocus());
        DC->EditFind->setFocus();
        widgets::MessageRecorder rec(true);
        DC->ToolButton7->click();
        QCOMPARE(count("Cars"), 1);
        QVERIFY(DC->Grid_cars->hasFocus());
        DC->close();
    }

    void closingDropsTheModeAndGivesTheMainWindowBack() {
        addCar("ЛАДА", "ВЕСТА");
        app::openModeless(DC);
        QVERIFY(!MF->isEnabled());
        QVERIFY(DC->isEnabled());
        DC->ToolButton4Click();
        retype(DC->Box1, "УАЗ");
        DC->close();
        QVERIFY(MF->isEnabled());
        app::openModeless(DC);
        QVERIFY(browsing());
        QCOMPARE(DC->Box1->text(), QString("ЛАДА"));
        QCOMPARE(count("Cars", "dev = 'УАЗ'"), 0);
        // Enter walks the fields in tab order.
        DC->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(DC));
        DC->ToolButton4Click();
        QVERIFY(DC->Box1->hasFocus());
        QTest::keyClick(DC->Box1, Qt::Key_Return);
        QVERIFY(DC->Box2->hasFocus());
        DC->Box5->setFocus();
        QTest::keyClick(DC->Box5, Qt::Key_Return);
        QVERIFY(DC->Edit1->hasFocus());
        DC->ToolButton14Click();
        QVERIFY(!DC->isVisible());
        QVERIFY(MF->isEnabled());
    }
};

QTEST_MAIN(TestCarDirectory)
#include "tst_cardirectory.moc"
