// The works and spare-parts catalogues over a real database, with the whole
// set of windows. Every case runs in both windows.
#include "app/DM.h"
#include "app/RowChanged.h"
#include "program/Windows.h"
#include "catalogues/SP.h"
#include "catalogues/VR.h"
#include "contracts/MF.h"
#include "fb/Error.h"
#include "rtl/Convert.h"
#include "support/TestDb.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QGroupBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

using support::typeText;

void press(QWidget* w, Qt::Key key) { QTest::keyClick(w, key); }

// One of the two windows, with the members whose names differ.
struct Window {
    PricedCatalogue* w;
    widgets::StringGrid* grid;
    QToolButton* deleteButton;
    QString table;

    void remove() const {
        if (w == VR) VR->ToolButton10Click(); else SP->ToolButton7Click();
    }
    void click(int row) const {
        grid->setCurrentRow(row);
        if (w == VR) VR->Grid_workClick(); else SP->Grid_SpClick();
    }
    int count() const { return support::scalar("SELECT COUNT(*) FROM " + table).toInt(); }
    void add(const QString& name, const QString& price) const {
        support::exec("INSERT INTO " + table + " (name, price) VALUES ('" + name + "', " + price + ")");
    }
    bool browsing() const {
        return !w->Adding && !w->Editing && !w->GP->isEnabled() && grid->isEnabled() && !w->ToolButton8->isEnabled();
    }
};

Window window(const QString& name) {
    if (name == "VR") return {VR, VR->Grid_work, VR->ToolButton10, "Works"};
    return {SP, SP->Grid_Sp, SP->ToolButton7, "Spares"};
}

}  // namespace

class TestCatalogues : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    Window cw{};

    void windows() {
        QTest::addColumn<QString>("name");
        QTest::newRow("works") << "VR";
        QTest::newRow("spares") << "SP";
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
    }
    void cleanupTestCase() { program::destroyForms(); }

    void init() {
        QFETCH(QString, name);
        cw = window(name);
        support::exec("DELETE FROM " + cw.table);
        cw.w->FormActivate();
    }
    void cleanup() { cw.w->hide(); }

    void emptyCatalogue_data() { windows(); }
    void emptyCatalogue() {
        QVERIFY(cw.browsing());
        QCOMPARE(cw.grid->rowCount(), 2);
        for (int c = 0; c < 3; ++c) QVERIFY(cw.grid->cell(c, 1).isEmpty());
        QCOMPARE(cw.grid->cell(2, 0), QString("Стоимость"));
        cw.w->Box1->setText("ОСТАЛОСЬ");
        cw.click(1);
        QCOMPARE(cw.w->Box1->text(), QString("ОСТАЛОСЬ"));
        widgets::MessageRecorder rec(true);
        cw.remove();
        QVERIFY(rec.isEmpty());
        QVERIFY(cw.w->isEnabled());
        // Nothing to edit: Edit stays in browsing, so no update can hit an empty key.
        cw.w->ToolButton4Click();
        QVERIFY(cw.browsing());
    }

    void listShowsNamesAndPricesInOrder_data() { windows(); }
    void listShowsNamesAndPricesInOrder() {
        cw.add("ШИНОМОНТАЖ", "1000");
        cw.add("АНТИФРИЗ", "250.5");
        cw.add("ДИАГНОСТИКА", "0.000001");
        cw.w->FormActivate();
        QCOMPARE(cw.grid->rowCount(), 4);
        QCOMPARE(cw.grid->cell(1, 1), QString("  АНТИФРИЗ"));
        QCOMPARE(cw.grid->cell(2, 1), QString("  250,5"));
        QCOMPARE(cw.grid->cell(2, 2), QString("  1E-6"));
        QCOMPARE(cw.grid->cell(1, 3), QString("  ШИНОМОНТАЖ"));
        QCOMPARE(cw.grid->currentRow(), 1);
        QCOMPARE(cw.w->Box1->text(), QString("АНТИФРИЗ"));
        QCOMPARE(cw.w->Edit1->text(), QString("250,5"));
        cw.click(3);
        QCOMPARE(cw.w->Box1->text(), QString("ШИНОМОНТАЖ"));
        QCOMPARE(cw.w->Edit1->text(), QString("1000"));
    }

    void addTypedRowInCapitals_data() { windows(); }
    void addTypedRowInCapitals() {
        cw.add("АНТИФРИЗ", "250");
        cw.add("ЯКОРЬ", "10");
        cw.w->FormActivate();
        cw.click(2);
        cw.w->ToolButton2Click();
        QVERIFY(cw.w->Adding);
        QVERIFY(cw.w->GP->isEnabled());
        QVERIFY(!cw.grid->isEnabled());
        QVERIFY(cw.w->Box1->text().isEmpty());
        QVERIFY(cw.w->Edit1->text().isEmpty());
        typeText(cw.w->Box1, "замена масла");
        typeText(cw.w->Edit1, "1500,5");
        QVERIFY(cw.w->ToolButton8->isEnabled());
        cw.w->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT price FROM " + cw.table + " WHERE name = 'ЗАМЕНА МАСЛА'"), QString("1500,5"));
        QCOMPARE(support::scalar("SELECT sysinfo FROM " + cw.table + " WHERE name = 'ЗАМЕНА МАСЛА'"), QString());
        // Reloaded in name order; the position stays, not the record just written.
        QVERIFY(cw.browsing());
        QCOMPARE(cw.grid->rowCount(), 4);
        QCOMPARE(cw.grid->cell(1, 2), QString("  ЗАМЕНА МАСЛА"));
        QCOMPARE(cw.grid->currentRow(), 2);
        QCOMPARE(cw.w->Box1->text(), QString("ЗАМЕНА МАСЛА"));
    }

    void nameChangeEnablesSave_data() { windows(); }
    void nameChangeEnablesSave() {
        cw.w->Edit1->clear();
        cw.w->ToolButton2Click();
        QVERIFY(!cw.w->ToolButton8->isEnabled());  // emptying an empty price is no change
        typeText(cw.w->Box1, "а");
        QVERIFY(cw.w->ToolButton8->isEnabled());
        press(cw.w->Box1, Qt::Key_Escape);
        QVERIFY(cw.browsing());
        // The price counts too, in the spares window as in the works window.
        cw.w->ToolButton2Click();
        typeText(cw.w->Edit1, "5");
        QVERIFY(cw.w->ToolButton8->isEnabled());
    }

    void newThenSaveFailsOnEmptyPrice_data() { windows(); }
    void newThenSaveFailsOnEmptyPrice() {
        cw.add("АНТИФРИЗ", "250");
        cw.w->FormActivate();
        QCOMPARE(cw.w->Edit1->text(), QString("250"));
        cw.w->ToolButton2Click();
        QVERIFY(cw.w->ToolButton8->isEnabled());  // the price was emptied
        try {
            cw.w->ToolButton8Click();
            QFAIL("no error");
        } catch (const rtl::ConvertError& e) {
            QCOMPARE(e.text(), QString("'' is not a valid floating point value"));
        }
        QCOMPARE(cw.count(), 1);
        // The change stays pending: corrected, it is saved.
        QVERIFY(cw.w->Adding);
        QVERIFY(cw.w->GP->isEnabled());
        typeText(cw.w->Box1, "ПРОМЫВКА");
        typeText(cw.w->Edit1, "abc");
        QVERIFY_THROWS_EXCEPTION(rtl::ConvertError, cw.w->ToolButton8Click());
        QCOMPARE(cw.count(), 1);
        cw.w->Edit1->setText("1E15");  // beyond what a contract's amounts hold
        QVERIFY_THROWS_EXCEPTION(rtl::ConvertError, cw.w->ToolButton8Click());
        QCOMPARE(cw.count(), 1);
        cw.w->Edit1->setText("300");
        cw.w->ToolButton8Click();
        QCOMPARE(cw.count(), 2);
        QVERIFY(cw.browsing());
    }

    void escDropsTheChange_data() { windows(); }
    void escDropsTheChange() {
        cw.add("АНТИФРИЗ", "250");
        cw.add("МОЙКА", "100");
        cw.w->FormActivate();
        cw.click(2);
        cw.w->ToolButton4Click();
        QVERIFY(cw.w->Editing);
        QCOMPARE(cw.w->Box1->text(), QString("МОЙКА"));  // the fields keep the row
        typeText(cw.w->Box1, "Х");
        cw.w->Edit1->setText("999");
        press(cw.w->Edit1, Qt::Key_Escape);
        QVERIFY(cw.browsing());
        QCOMPARE(cw.w->Box1->text(), QString("МОЙКА"));
        QCOMPARE(cw.w->Edit1->text(), QString("100"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM " + cw.table + " WHERE price = 999"), QString("0"));
        // After Esc the list is usable again, and Esc in browsing does nothing.
        cw.click(1);
        QCOMPARE(cw.w->Box1->text(), QString("АНТИФРИЗ"));
    }

    void editWritesTheCurrentRow_data() { windows(); }
    void editWritesTheCurrentRow() {
        cw.add("АНТИФРИЗ", "250");
        cw.add("МОЙКА", "100");
        cw.w->FormActivate();
        cw.click(1);
        cw.w->ToolButton4Click();
        cw.w->Box1->lineEdit()->selectAll();
        typeText(cw.w->Box1, "ящик");
        cw.w->Edit1->setText("-1,5E3");
        cw.w->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT name FROM " + cw.table + " WHERE price = -1500"), QString("ЯЩИК"));
        QCOMPARE(cw.count(), 2);
        // Re-sorted: row 1 is now the other record, and the fields show it.
        QCOMPARE(cw.grid->currentRow(), 1);
        QCOMPARE(cw.w->Box1->text(), QString("МОЙКА"));
        QCOMPARE(cw.w->focusWidget(), cw.grid);  // keys work on the list at once
    }

    void oneChangePendingAtATime_data() { windows(); }
    void oneChangePendingAtATime() {
        cw.add("АНТИФРИЗ", "250");
        cw.w->FormActivate();
        cw.w->ToolButton2Click();
        cw.w->ToolButton4Click();  // ignored: a new row is pending
        QVERIFY(cw.w->Adding);
        QVERIFY(!cw.w->Editing);
        typeText(cw.w->Box1, "НОВАЯ");
        cw.w->Edit1->setText("1");
        cw.w->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT price FROM " + cw.table + " WHERE name = 'АНТИФРИЗ'"), QString("250"));
        QCOMPARE(cw.count(), 2);

        cw.w->ToolButton4Click();
        cw.w->ToolButton2Click();  // ignored: an edit is pending, the fields stay
        QVERIFY(cw.w->Editing);
        QVERIFY(!cw.w->Adding);
        QCOMPARE(cw.w->Box1->text(), QString("АНТИФРИЗ"));
    }

    void deleteAsksAndKeepsThePosition_data() { windows(); }
    void deleteAsksAndKeepsThePosition() {
        cw.add("АНТИФРИЗ", "250");
        cw.add("МОЙКА", "100");
        cw.add("ЯКОРЬ", "5");
        cw.w->FormActivate();
        cw.click(3);
        {
            widgets::MessageRecorder rec(false);
            cw.remove();
            QCOMPARE(rec.count(), 1);
            QCOMPARE(rec.lastText(), QString("Внимание! Запись будет удалена, продолжить ?"));
            QCOMPARE(rec.lastCaption(), QString("Удаление"));
            QCOMPARE(cw.count(), 3);
            QVERIFY(cw.w->isEnabled());
        }
        {
            widgets::MessageRecorder rec(true);
            cw.remove();
            QCOMPARE(cw.count(), 2);
            // The last row went: the position is pulled back to the new last row.
            QCOMPARE(cw.grid->rowCount(), 3);
            QCOMPARE(cw.grid->currentRow(), 2);
            QCOMPARE(cw.w->Box1->text(), QString("МОЙКА"));
            QVERIFY(cw.w->isEnabled());
            // Not while a change is pending.
            rec.clear();
            cw.w->ToolButton2Click();
            cw.remove();
            QVERIFY(rec.isEmpty());
            QCOMPARE(cw.count(), 2);
        }
    }

    void failedDeleteLeavesTheWindowUsable_data() { windows(); }
    void failedDeleteLeavesTheWindowUsable() {
        cw.add("АНТИФРИЗ", "250");
        cw.w->FormActivate();
        support::exec("CREATE EXCEPTION no_delete 'kept'");
        support::exec("CREATE TRIGGER keep_rows FOR " + cw.table + " BEFORE DELETE AS BEGIN EXCEPTION no_delete; END");
        widgets::MessageRecorder rec(true);
        QVERIFY_THROWS_EXCEPTION(fb::Error, cw.remove());
        QVERIFY(cw.w->isEnabled());
        QVERIFY(cw.browsing());
        support::exec("DROP TRIGGER keep_rows");
        support::exec("DROP EXCEPTION no_delete");
        cw.remove();
        QCOMPARE(cw.count(), 0);
    }

    void enterAlternatesBetweenTheFields_data() { windows(); }
    void enterAlternatesBetweenTheFields() {
        cw.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(cw.w));
        cw.w->activateWindow();
        cw.w->ToolButton2Click();
        QVERIFY(cw.w->Box1->hasFocus());
        press(cw.w->Box1, Qt::Key_Return);
        QVERIFY(cw.w->Edit1->hasFocus());
        press(cw.w->Edit1, Qt::Key_Return);
        if (cw.w == SP) {  // on through the article and the maker
            QVERIFY(SP->EditArt->hasFocus());
            press(SP->EditArt, Qt::Key_Return);
            QVERIFY(SP->EditMaker->hasFocus());
            press(SP->EditMaker, Qt::Key_Return);
        }
        QVERIFY(cw.w->Box1->hasFocus());
        // Esc ends the change and leaves the window open.
        press(cw.w->Box1, Qt::Key_Escape);
        QVERIFY(cw.browsing());
        QVERIFY(cw.w->isVisible());
        cw.w->ToolButton14Click();
        QVERIFY(!cw.w->isVisible());
    }

    // The spares window writes a part's article number and maker, lists them,
    // and an edit writes only over what it showed; the works window has none.
    void sparesCarryArticleAndMaker_data() { windows(); }
    void sparesCarryArticleAndMaker() {
        if (cw.w == VR) {
            QCOMPARE(cw.w->EditArt, nullptr);
            QCOMPARE(cw.grid->colCount(), 3);
            return;
        }
        QVERIFY(SP->EditArt->isVisibleTo(SP));
        SP->ToolButton2Click();
        typeText(SP->Box1, "фильтр масляный");
        typeText(SP->Edit1, "450");
        typeText(SP->EditArt, "w712/75");
        typeText(SP->EditMaker, "mann");
        SP->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT art || '|' || maker FROM Spares"), QString("W712/75|MANN"));
        QCOMPARE(cw.grid->colCount(), 5);
        QCOMPARE(cw.grid->cell(3, 0) + "|" + cw.grid->cell(3, 1) + "|" + cw.grid->cell(4, 1),
                 QString("Артикул|  W712/75|  MANN"));
        // An edit of the same row elsewhere is not overwritten unseen.
        SP->ToolButton4Click();
        SP->EditMaker->clear();
        support::exec("UPDATE Spares SET art = 'OC90'");
        widgets::MessageRecorder rec(true);
        QVERIFY_THROWS_EXCEPTION(app::RowChanged, SP->ToolButton8Click());
        QCOMPARE(support::scalar("SELECT art || '|' || maker FROM Spares"), QString("OC90|MANN"));
        SP->ToolButton8Click();  // seen now: the input is written, the empty maker as NULL
        QCOMPARE(support::scalar("SELECT COALESCE(maker, 'NULL') FROM Spares"), QString("NULL"));
        QCOMPARE(SP->EditArt->maxLength(), 40);
        QCOMPARE(SP->EditMaker->maxLength(), 60);
    }
};

QTEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
