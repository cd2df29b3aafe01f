// The mechanics directory over a real database, with the whole set of windows.
#include "app/DM.h"
#include "program/Windows.h"
#include "catalogues/MH.h"
#include "contracts/MF.h"
#include "fb/Error.h"
#include "support/TestDb.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QGroupBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

using support::typeText;

int mechanics() { return support::scalar("SELECT COUNT(*) FROM meh").toInt(); }

void addMechanic(const QString& name) { support::exec("INSERT INTO meh (name) VALUES ('" + name + "')"); }

bool browsing() {
    return !MH->Adding && !MH->Editing && !MH->GP->isEnabled() && MH->Grid_meh->isEnabled() &&
           !MH->ToolButton8->isEnabled();
}

void select(int row) {
    MH->Grid_meh->setCurrentRow(row);
    MH->Grid_mehClick();
}

}  // namespace

class TestMechanics : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
    }
    void cleanupTestCase() { program::destroyForms(); }
    void init() {
        support::exec("DELETE FROM meh");
        MH->FormActivate();
    }

    void emptyTable() {
        QVERIFY(browsing());
        QCOMPARE(MH->Grid_meh->rowCount(), 2);
        QCOMPARE(MH->Grid_meh->cell(1, 0), QString("МЕХАНИКИ"));
        QVERIFY(MH->Grid_meh->cell(0, 1).isEmpty());
        QVERIFY(MH->Edit1->text().isEmpty());
        MH->ToolButton4Click();
        QVERIFY(browsing());
        widgets::MessageRecorder rec(true);
        MH->ToolButton6Click();
        QVERIFY(rec.isEmpty());
        QCOMPARE(MH->ToolButton8->toolTip(), QString("Сохрание изменений"));
        QCOMPARE(MH->ToolButton6->toolTip(), QString("Удаление документа"));
    }

    void addByEnterInCapitals() {
        addMechanic("СИДОРОВ");
        addMechanic("ПЕТРОВ");
        MH->FormActivate();
        select(2);
        QCOMPARE(MH->Edit1->text(), QString("СИДОРОВ"));
        MH->ToolButton2Click();
        QVERIFY(MH->Adding);
        QVERIFY(MH->ToolButton8->isEnabled());  // emptying a held name is a change
        // Enter on an empty field saves nothing and stays in the mode.
        QTest::keyClick(MH->Edit1, Qt::Key_Return);
        QVERIFY(MH->Adding);
        QCOMPARE(mechanics(), 2);
        typeText(MH->Edit1, "о'брайен");
        QCOMPARE(MH->Edit1->text(), QString("О'БРАЙЕН"));
        QTest::keyClick(MH->Edit1, Qt::Key_Return);
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM meh WHERE name = 'О''БРАЙЕН'"), QString("1"));
        // Every reload starts at the first name in name order.
        QVERIFY(browsing());
        QCOMPARE(MH->Grid_meh->rowCount(), 4);
        QCOMPARE(MH->Grid_meh->currentRow(), 1);
        QCOMPARE(MH->Edit1->text(), QString("О'БРАЙЕН"));
        QCOMPARE(MH->Grid_meh->cell(1, 3), QString("СИДОРОВ"));
    }

    void saveClickDoesNotCheckTheName() {
        addMechanic("ПЕТРОВ");
        MH->FormActivate();
        MH->ToolButton2Click();
        MH->ToolButton8Click();
        QCOMPARE(mechanics(), 2);
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM meh WHERE name = ''"), QString("1"));
    }

    void renameAndEnterWithoutChange() {
        addMechanic("ПЕТРОВ");
        addMechanic("СИДОРОВ");
        MH->FormActivate();
        select(2);
        MH->ToolButton4Click();
        QVERIFY(MH->Editing);
        QVERIFY(!MH->ToolButton8->isEnabled());
        QTest::keyClick(MH->Edit1, Qt::Key_Return);  // saves, though nothing changed
        QVERIFY(browsing());
        QCOMPARE(mechanics(), 2);
        select(2);
        MH->ToolButton4Click();
        MH->Edit1->selectAll();
        typeText(MH->Edit1, "алексеев");
        MH->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM meh WHERE name = 'СИДОРОВ'"), QString("0"));
        QCOMPARE(MH->Grid_meh->cell(1, 1), QString("АЛЕКСЕЕВ"));
        QCOMPARE(mechanics(), 2);
    }

    void escRestoresTheName() {
        addMechanic("ПЕТРОВ");
        MH->FormActivate();
        MH->ToolButton4Click();
        typeText(MH->Edit1, "ИЧ");
        QTest::keyClick(MH->Edit1, Qt::Key_Escape);
        QVERIFY(browsing());
        QCOMPARE(MH->Edit1->text(), QString("ПЕТРОВ"));
        QCOMPARE(support::scalar("SELECT name FROM meh"), QString("ПЕТРОВ"));
        MH->ToolButton2Click();
        typeText(MH->Edit1, "НОВЫЙ");
        QTest::keyClick(MH->Edit1, Qt::Key_Escape);
        QCOMPARE(MH->Edit1->text(), QString("ПЕТРОВ"));
        QCOMPARE(mechanics(), 1);
    }

    void oneModeAtATime() {
        addMechanic("ПЕТРОВ");
        MH->FormActivate();
        MH->ToolButton2Click();
        MH->ToolButton4Click();
        QVERIFY(!MH->Editing);
        typeText(MH->Edit1, "ИВАНОВ");
        MH->ToolButton8Click();
        // Inserted only: the current mechanic keeps his name.
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM meh WHERE name = 'ПЕТРОВ'"), QString("1"));
        QCOMPARE(mechanics(), 2);
    }

    void deleteAsks() {
        addMechanic("ИВАНОВ");
        addMechanic("ПЕТРОВ");
        MH->FormActivate();
        select(2);
        widgets::MessageRecorder rec(false);
        MH->ToolButton6Click();
        QCOMPARE(rec.lastText(), QString("Внимание! Запись будет удалена, продолжить ?"));
        QCOMPARE(rec.lastCaption(), QString("Удаление"));
        QCOMPARE(mechanics(), 2);
        rec.queueAnswer(true);
        MH->ToolButton6Click();
        QCOMPARE(support::scalar("SELECT name FROM meh"), QString("ИВАНОВ"));
        QVERIFY(MH->isEnabled());
        QCOMPARE(MH->Edit1->text(), QString("ИВАНОВ"));
        // Not while a mode is on.
        rec.clear();
        MH->ToolButton2Click();
        MH->ToolButton6Click();
        QVERIFY(rec.isEmpty());
    }

    void failedDeleteLeavesTheWindowEnabled() {
        addMechanic("ИВАНОВ");
        MH->FormActivate();
        support::exec("CREATE EXCEPTION no_delete 'kept'");
        support::exec("CREATE TRIGGER keep_meh FOR meh BEFORE DELETE AS BEGIN EXCEPTION no_delete; END");
        widgets::MessageRecorder rec(true);
        QVERIFY_THROWS_EXCEPTION(fb::Error, MH->ToolButton6Click());
        QVERIFY(MH->isEnabled());
        support::exec("DROP TRIGGER keep_meh");
        support::exec("DROP EXCEPTION no_delete");
        MH->ToolButton6Click();
        QCOMPARE(mechanics(), 0);
    }
};

QTEST_MAIN(TestMechanics)
#include "tst_mechanics.moc"
