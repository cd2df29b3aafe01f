// The two-level dictionaries over a real database, with the whole set of windows.
#include "app/DM.h"
#include "app/RowGone.h"
#include "program/Windows.h"
#include "app/WindowFlow.h"
#include "catalogues/SB.h"
#include "catalogues/SE.h"
#include "catalogues/SM.h"
#include "contracts/MF.h"
#include "fb/Error.h"
#include "support/Handlers.h"
#include "support/OtherAttachment.h"
#include "support/TestDb.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using support::count;
using support::typeText;

int addMaster(const QString& table, const QString& name) {
    support::exec("INSERT INTO " + table + " (name) VALUES ('" + name + "')");
    return support::lastKey(table);
}

void addDetail(const QString& table, const QString& link, int master, const QString& name) {
    support::exec("INSERT INTO " + table + " (name, " + link + ") VALUES ('" + name + "', " + QString::number(master) + ")");
}

void selectMaster(TwoLevelDictionary* w, int row) {
    w->Grid_dev->setCurrentRow(row);
    w->Grid_devClick();
}

QStringList names(widgets::StringGrid* grid) {
    QStringList list;
    for (int r = 1; r < grid->rowCount(); ++r) list << grid->cell(1, r);
    return list;
}

bool allUnlocked(TwoLevelDictionary* w) {
    for (QWidget* c : {static_cast<QWidget*>(w->Gp1), static_cast<QWidget*>(w->Gp2), static_cast<QWidget*>(w->Gp4),
                       static_cast<QWidget*>(w->Gp5), static_cast<QWidget*>(w->BitBtn11),
                       static_cast<QWidget*>(w->BitBtn12), static_cast<QWidget*>(w->BitBtn21),
                       static_cast<QWidget*>(w->BitBtn22)})
        if (!c->isEnabled()) return false;
    return !w->Adding && !w->Editing;
}

}  // namespace

class TestDictionaries : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
    }
    void cleanupTestCase() { program::destroyForms(); }
    void init() {
        for (const char* t : {"models", "dev", "engine_sp", "engines", "body_sp", "body"})
            support::exec(QString("DELETE FROM ") + t);
        SM->FormActivate();
    }

    void emptyTables() {
        QCOMPARE(SM->Grid_dev->rowCount(), 2);
        QCOMPARE(SM->Grid_mod->rowCount(), 2);
        QCOMPARE(SM->Grid_dev->cell(1, 0), QString(" ФИРМА"));
        QCOMPARE(SM->Grid_mod->cell(1, 0), QString(" МОДЕЛИ"));
        QCOMPARE(SM->Grid_dev->cell(0, 0), QString("id"));
        SM->BitBtn21Click();  // no master: nothing
        QVERIFY(!SM->Adding);
        widgets::MessageRecorder rec(true);
        SM->BitBtn14Click();
        SM->BitBtn24Click();
        QVERIFY(rec.isEmpty());
        QVERIFY(SM->isEnabled());
        QVERIFY(!SM->BitBtn13->isEnabled());
        QVERIFY(!SM->BitBtn23->isEnabled());
    }

    // The three windows work on their own tables.
    void eachWindowItsTables_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("master");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("detailTitle");
        QTest::newRow("makes") << "SM" << "dev" << "models" << "dv_fk" << " МОДЕЛИ";
        QTest::newRow("engines") << "SE" << "engines" << "engine_sp" << "en_fk" << " СПЕЦИФИКАЦИИ";
        QTest::newRow("bodies") << "SB" << "body" << "body_sp" << "bd_fk" << " СПЕЦИФИКАЦИИ";
    }
    void eachWindowItsTables() {
        QFETCH(QString, name);
        QFETCH(QString, master);
        QFETCH(QString, detail);
        QFETCH(QString, link);
        QFETCH(QString, detailTitle);
        TwoLevelDictionary* w = name == "SM" ? static_cast<TwoLevelDictionary*>(SM) : name == "SE" ? static_cast<TwoLevelDictionary*>(SE)
                                                                                      : static_cast<TwoLevelDictionary*>(SB);
        QCOMPARE(w->objectName(), name);
        w->FormActivate();
        w->BitBtn11Click();
        typeText(w->Edit1, "первый");
        QVERIFY(w->BitBtn13->isEnabled());
        w->BitBtn13Click();
        QCOMPARE(support::scalar("SELECT name FROM " + master), QString("ПЕРВЫЙ"));
        w->BitBtn21Click();
        typeText(w->Edit2, "деталь");
        w->BitBtn23Click();
        QCOMPARE(support::scalar("SELECT " + link + " FROM " + detail + " WHERE name = 'ДЕТАЛЬ'"),
                 support::scalar("SELECT pk_id FROM " + master));
        QCOMPARE(w->Grid_mod->cell(1, 0), detailTitle);
        QCOMPARE(names(w->Grid_mod), QStringList{"ДЕТАЛЬ"});
        // Rename and delete on the detail level.
        w->BitBtn22Click();
        w->Edit2->selectAll();
        typeText(w->Edit2, "другая");
        QTest::keyClick(w->Edit2, Qt::Key_Return);
        QCOMPARE(support::scalar("SELECT name FROM " + detail), QString("ДРУГАЯ"));
        widgets::MessageRecorder rec(true);
        w->BitBtn24Click();
        QCOMPARE(count(detail), 0);
        QVERIFY(w->Edit2->text().isEmpty());
        QVERIFY(w->isEnabled());
    }

    void activationStartsAtTheFirstRows() {
        const int vaz = addMaster("dev", "ВАЗ");
        const int gaz = addMaster("dev", "ГАЗ");
        addDetail("models", "dv_fk", vaz, "2107");
        addDetail("models", "dv_fk", gaz, "ВОЛГА");
        addDetail("models", "dv_fk", gaz, "ГАЗЕЛЬ");
        SM->FormActivate();
        selectMaster(SM, 2);
        QCOMPARE(names(SM->Grid_mod), (QStringList{"ВОЛГА", "ГАЗЕЛЬ"}));
        SM->Grid_mod->setCurrentRow(2);
        SM->Grid_modClick();
        QCOMPARE(SM->Edit2->text(), QString("ГАЗЕЛЬ"));
        SM->FormActivate();
        QCOMPARE(SM->Grid_dev->currentRow(), 1);
        QCOMPARE(SM->Grid_mod->currentRow(), 1);
        QCOMPARE(SM->Edit1->text(), QString("ВАЗ"));
        QCOMPARE(names(SM->Grid_mod), QStringList{"2107"});
        QCOMPARE(SM->Edit2->text(), QString("2107"));
    }

    void comingBackKeepsTheEntryBeingTyped() {
        addMaster("dev", "ВАЗ");
        app::openModeless(SM);
        SM->BitBtn11Click();
        typeText(SM->Edit1, "ЗИЛ");
        support::userActivates(MF);
        support::userActivates(SM);
        QVERIFY(SM->Adding);
        QCOMPARE(SM->Edit1->text(), QString("ЗИЛ"));
        SM->close();
    }

    void masterSaveKeepsThePositionAndTheDetailList() {
        const int vaz = addMaster("dev", "ВАЗ");
        addMaster("dev", "ЗИЛ");
        addDetail("models", "dv_fk", vaz, "2107");
        SM->FormActivate();
        SM->BitBtn11Click();
        QVERIFY(!SM->BitBtn12->isEnabled());
        QVERIFY(!SM->Gp4->isEnabled());
        QVERIFY(!SM->Gp5->isEnabled());
        QVERIFY(!SM->BitBtn13->isEnabled());  // emptying came before the flag
        typeText(SM->Edit1, "ауди");
        QTest::keyClick(SM->Edit1, Qt::Key_Return);
        QCOMPARE(names(SM->Grid_dev), (QStringList{"АУДИ", "ВАЗ", "ЗИЛ"}));
        QCOMPARE(SM->Grid_dev->currentRow(), 1);
        QCOMPARE(SM->Edit1->text(), QString("АУДИ"));
        QCOMPARE(names(SM->Grid_mod), QStringList{"2107"});  // not refilled
        QVERIFY(allUnlocked(SM));
        QVERIFY(!SM->BitBtn13->isEnabled());
    }

    // The refusal looks at the table, not at the detail list as shown.
    void deleteRefusedForAMasterWithDetails() {
        const int vaz = addMaster("dev", "ВАЗ");
        addMaster("dev", "ЗИЛ");
        addDetail("models", "dv_fk", vaz, "2107");
        SM->FormActivate();
        widgets::MessageRecorder rec(true);
        SM->BitBtn14Click();
        QCOMPARE(rec.count(), 1);
        QCOMPARE(rec.entries().first().kind, widgets::MessageRecorder::Kind::Message);
        QCOMPARE(rec.lastText(), QString("Невозможно удалить фирму - сперва удалите модели"));
        QCOMPARE(rec.lastCaption(), QString("Удаление"));
        QCOMPARE(count("dev"), 2);
        QVERIFY(SM->isEnabled());

        // ЗИЛ shows no models; a master saved before it moves ВАЗ under the
        // current row while the list still shows ЗИЛ's empty detail list.
        selectMaster(SM, 2);
        SM->BitBtn11Click();
        typeText(SM->Edit1, "АУДИ");
        SM->BitBtn13Click();
        QCOMPARE(SM->Grid_dev->cell(1, 2), QString("ВАЗ"));
        QVERIFY(SM->Grid_mod->cell(0, 1).isEmpty());
        rec.clear();
        SM->BitBtn14Click();
        QCOMPARE(rec.count(), 1);
        QCOMPARE(rec.lastText(), QString("Невозможно удалить фирму - сперва удалите модели"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM dev WHERE name = 'ВАЗ'"), QString("1"));

        // The other way round: the list shows ВАЗ's models, the current master has none.
        selectMaster(SM, 2);
        QCOMPARE(names(SM->Grid_mod), QStringList{"2107"});
        SM->BitBtn11Click();
        typeText(SM->Edit1, "АЛЬФА");
        SM->BitBtn13Click();
        QCOMPARE(SM->Grid_dev->cell(1, 2), QString("АУДИ"));
        rec.clear();
        SM->BitBtn14Click();
        QCOMPARE(rec.lastText(), QString("Внимание! Запись будет удалена, продолжить ?"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM dev WHERE name = 'АУДИ'"), QString("0"));
        QCOMPARE(count("models"), 1);
    }

    // Another workstation on the same master: the check and the write hold it.
    void masterHeldAgainstOtherWorkstations() {
        const int vaz = addMaster("dev", "ВАЗ");
        const QString insertModel = "INSERT INTO models (name, dv_fk) VALUES ('2107', " + QString::number(vaz) + ")";
        SM->FormActivate();
        support::OtherAttachment other;
        // A detail added there while the question is read refuses the delete.
        widgets::MessageRecorder rec(true);
        rec.onQuestion([&] { QCOMPARE(other.tryExec(insertModel), QString()); });
        SM->BitBtn14Click();
        QCOMPARE(rec.lastText(), QString("Невозможно удалить фирму - сперва удалите модели"));
        QCOMPARE(count("dev"), 1);
        QVERIFY(SM->isEnabled());

        // A master being deleted there refuses a detail under it.
        support::exec("DELETE FROM models");
        other.run("DELETE FROM dev WHERE pk_id = " + QString::number(vaz));
        SM->BitBtn21Click();
        typeText(SM->Edit2, "2108");
        QCOMPARE(support::errorOf([] { SM->BitBtn23Click(); }), app::rowBusyText());
        other.commit();
        QCOMPARE(count("models"), 0);
        QTest::keyClick(SM->Edit2, Qt::Key_Escape);
    }

    void deletingTheLastMaster() {
        addMaster("dev", "ВАЗ");
        SM->FormActivate();
        widgets::MessageRecorder rec(false);
        SM->BitBtn14Click();
        QCOMPARE(count("dev"), 1);
        rec.queueAnswer(true);
        SM->BitBtn14Click();
        QCOMPARE(count("dev"), 0);
        QCOMPARE(SM->Grid_dev->rowCount(), 2);
        QVERIFY(SM->Grid_dev->cell(0, 1).isEmpty());
        QVERIFY(SM->Grid_mod->cell(0, 1).isEmpty());
        QVERIFY(SM->Edit1->text().isEmpty());
        QVERIFY(SM->Edit2->text().isEmpty());
        QCOMPARE(SM->Grid_dev->cell(1, 0), QString(" ФИРМА"));
        QVERIFY(SM->isEnabled());
    }

    void detailGoesToTheMasterCurrentAtSave() {
        addMaster("dev", "ВАЗ");
        addMaster("dev", "ГАЗ");
        SM->FormActivate();
        selectMaster(SM, 2);
        SM->BitBtn21Click();
        QVERIFY(!SM->Gp1->isEnabled());
        QVERIFY(!SM->Gp2->isEnabled());
        QVERIFY(!SM->BitBtn22->isEnabled());
        typeText(SM->Edit2, "соболь");
        // Enter in the master field belongs to the other level: nothing is saved.
        QTest::keyClick(SM->Edit1, Qt::Key_Return);
        QCOMPARE(count("dev"), 2);
        QVERIFY(SM->Adding);
        QTest::keyClick(SM->Edit2, Qt::Key_Return);
        QCOMPARE(support::scalar("SELECT d.name FROM models m JOIN dev d ON d.pk_id = m.dv_fk WHERE m.name = 'СОБОЛЬ'"),
                 QString("ГАЗ"));
        QCOMPARE(names(SM->Grid_mod), QStringList{"СОБОЛЬ"});
        QVERIFY(allUnlocked(SM));
        QCOMPARE(count("models"), 1);
    }

    void escDropsTheOperation() {
        const int vaz = addMaster("dev", "ВАЗ");
        addDetail("models", "dv_fk", vaz, "2107");
        SM->FormActivate();
        SM->BitBtn12Click();
        QVERIFY(SM->Editing);
        QVERIFY(!SM->BitBtn11->isEnabled());
        typeText(SM->Edit1, "Х");
        QVERIFY(SM->BitBtn13->isEnabled());
        QTest::keyClick(SM->Edit1, Qt::Key_Escape);
        QVERIFY(allUnlocked(SM));
        QVERIFY(!SM->BitBtn13->isEnabled());
        QCOMPARE(SM->Edit1->text(), QString("ВАЗ"));
        QCOMPARE(support::scalar("SELECT name FROM dev"), QString("ВАЗ"));

        // A detail operation dropped from the master field unlocks the master level too.
        SM->BitBtn21Click();
        typeText(SM->Edit2, "2108");
        QTest::keyClick(SM->Edit1, Qt::Key_Escape);
        QVERIFY(allUnlocked(SM));
        QCOMPARE(SM->Edit2->text(), QString("2107"));
        QTest::keyClick(SM->Edit2, Qt::Key_Return);  // no operation: nothing
        QCOMPARE(count("models"), 1);

        // Edit with an empty field does nothing.
        SM->Edit1->clear();
        SM->BitBtn12Click();
        QVERIFY(!SM->Editing);
    }

    void oneOperationAtATime() {
        addMaster("dev", "ВАЗ");
        SM->FormActivate();
        SM->BitBtn11Click();
        typeText(SM->Edit1, "АУДИ");
        SM->BitBtn11Click();  // again: the typed name stays
        QCOMPARE(SM->Edit1->text(), QString("АУДИ"));
        SM->BitBtn13Click();
        QCOMPARE(count("dev"), 2);
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM dev WHERE name = 'ВАЗ'"), QString("1"));
    }

    void failedDeleteLeavesTheWindowEnabled() {
        const int vaz = addMaster("dev", "ВАЗ");
        addDetail("models", "dv_fk", vaz, "2107");
        SM->FormActivate();
        support::exec("CREATE EXCEPTION no_delete 'kept'");
        support::exec("CREATE TRIGGER keep_models FOR models BEFORE DELETE AS BEGIN EXCEPTION no_delete; END");
        widgets::MessageRecorder rec(true);
        QVERIFY_THROWS_EXCEPTION(fb::Error, SM->BitBtn24Click());
        QVERIFY(SM->isEnabled());
        support::exec("DROP TRIGGER keep_models");
        support::exec("DROP EXCEPTION no_delete");
        SM->BitBtn24Click();
        QCOMPARE(count("models"), 0);
    }

    void closingGivesTheMainWindowBack() {
        for (QWidget* w : {static_cast<QWidget*>(SM), static_cast<QWidget*>(SE), static_cast<QWidget*>(SB)}) {
            app::openModeless(w);
            QVERIFY(!MF->isEnabled());
            QVERIFY(w->isVisible());
            QVERIFY(w->isEnabled());
            w->close();
            QVERIFY(!w->isVisible());
            QVERIFY(MF->isEnabled());
        }
        // An operation left open by closing is gone at the next showing.
        app::openModeless(SM);
        SM->BitBtn11Click();
        SM->close();
        app::openModeless(SM);
        QVERIFY(allUnlocked(SM));
        SM->hide();
        QVERIFY(MF->isEnabled());
    }
};

QTEST_MAIN(TestDictionaries)
#include "tst_dictionaries.moc"
