// The work and spare-part lines of the contract editor: totals, marks,
// removal and the checks before a save.
#include "tst_editor_util.h"

#include "app/SchemaUpgrade.h"
#include "app/WorkOrder.h"
#include "catalogues/SP.h"
#include "contracts/CF4.h"

namespace {

// The spare picker as the clerk uses it: `typed` into the name, the first
// row listed taken, `quantity` and confirm.
void takeSpare(const QString& typed, const QString& quantity) {
    CF4->FormActivate();
    CF4->Box1->setText(typed);
    CF4->FillList();
    CF4->Grid_sp->setCurrentRow(1);
    CF4->PickRow();
    CF4->Edit2->setText(quantity);
    CF4->AddLine();
}

QString spareArticles() { return support::scalar("SELECT art || '|' || maker FROM CT_Spares"); }

}  // namespace

class TestEditorLines : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int car1 = 0, car2 = 0;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        openWindowsWithCars(dir, car1, car2);
    }
    void cleanupTestCase() { program::destroyForms(); }
    void init() { deleteContracts(); }
    void cleanup() { CF->hide(); }

    void totalsInFixedPointAndTheGeneralFormat() {
        const int ct = addContract(car1, "01.02.2024", QString(), QString());
        addWork(ct, s("А"), "100");
        addWork(ct, s("Б"), "250.5");
        addWork(ct, s("В"), "0.25");
        addSpare(ct, s("Г"), "12.5", 3);
        openView(ct);
        QCOMPARE(column(CF->Grid_work, contracts::kWorkPrice), QStringList({"100", "250,5", "0,25"}));
        QCOMPARE(CF->Label20->text(), QString("350,75"));
        QCOMPARE(CF->grid_sp->cell(contracts::kSpareQuantity, 1), QString("3"));
        QCOMPARE(CF->grid_sp->cell(contracts::kSparePrice, 1), QString("12,5"));
        QCOMPARE(CF->grid_sp->cell(contracts::kSpareSum, 1), QString("37,5"));
        QCOMPARE(CF->Label21->text(), QString("37,5"));
        QCOMPARE(CF->Label17->text(), QString("388,25"));
        CF->ToolButton14Click();

        // No lines: one blank row and "0" in every total.
        const int empty = addContract(car1, "01.02.2024", QString(), QString());
        openView(empty);
        QCOMPARE(CF->Grid_work->rowCount(), 2);
        QCOMPARE(CF->grid_sp->rowCount(), 2);
        QCOMPARE(CF->Grid_work->cell(contracts::kLineName, 1), QString());
        for (QLabel* total : {CF->Label17, CF->Label20, CF->Label21}) QCOMPARE(total->text(), QString("0"));
    }

    void removedUnsavedLinesAreNeverWritten() {
        const int ct = addContract(car1, "01.02.2024", QString(), QString());
        openEdit(ct);
        CF->AppendWork(s("А"), "1");
        CF->AppendWork(s("Б"), "2");
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("А"), s("Б")}));  // blank row reused
        CF->ToolButton8->setEnabled(false);
        CF->Grid_work->setCurrentRow(1);
        CF->BitBtn5Click();
        QCOMPARE(CF->Grid_work->rowCount(), 3);  // the row stays, blank
        QCOMPARE(column(CF->Grid_work, contracts::kLineKey), QStringList({"", "+"}));
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({"", s("Б")}));
        QVERIFY(!CF->ToolButton8->isEnabled());  // removing an unsaved line is no change
        CF->AppendWork(s("В"), "3");  // the last row has a key: a new row
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({"", s("Б"), s("В")}));
        CF->Grid_work->setCurrentRow(3);
        CF->BitBtn5Click();
        CF->AppendWork(s("Г"), "4");  // the blank last row is reused
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({"", s("Б"), s("Г")}));
        CF->AppendSpare(s("Д"), "1", "5");
        CF->grid_sp->setCurrentRow(1);
        CF->BitBtn8Click();
        QCOMPARE(save(), QString());
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("Б"), s("Г")}));
        QCOMPARE(count("CT_Works"), 2);
        QCOMPARE(count("CT_Spares"), 0);
        QCOMPARE(CF->Label20->text(), QString("6"));
    }

    void markedStoredLineGoesAtSaveAndStaysWhenClosedUnsaved() {
        const int ct = addContract(car1, "01.02.2024", QString(), QString());
        addWork(ct, s("ПЕРВАЯ"), "10");
        addWork(ct, s("ВТОРАЯ"), "20");
        addSpare(ct, s("ДЕТАЛЬ"), "7", 2);
        openEdit(ct);
        const QString firstKey = CF->Grid_work->cell(contracts::kLineKey, 1);
        CF->Grid_work->setCurrentRow(1);
        CF->BitBtn5Click();
        QCOMPARE(CF->Grid_work->cell(contracts::kLineKey, 1), firstKey);
        QCOMPARE(CF->Grid_work->cell(contracts::kLineMark, 1), QString("-"));
        QCOMPARE(CF->Grid_work->cell(contracts::kLineName, 1), s("Запись будет удалена после сохранения документа"));
        QVERIFY(CF->ToolButton8->isEnabled());
        CF->ToolButton14Click();  // closed without saving
        QCOMPARE(count("CT_Works"), 2);

        openEdit(ct);
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("ПЕРВАЯ"), s("ВТОРАЯ")}));
        CF->Grid_work->setCurrentRow(1);
        CF->BitBtn5Click();
        CF->grid_sp->setCurrentRow(1);
        CF->BitBtn8Click();
        QCOMPARE(save(), QString());
        QCOMPARE(count("CT_Works"), 1);
        QCOMPARE(count("CT_Works", "pk_id = " + firstKey), 0);
        QCOMPARE(count("CT_Spares"), 0);
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("ВТОРАЯ")}));
        QCOMPARE(CF->Label17->text(), QString("20"));
    }

    void rowsWithoutKeyNeitherStopTheSaveNorDelete() {
        const int other = addContract(car1, "01.02.2024", QString(), QString());
        addWork(other, s("ЧУЖАЯ"), "1");
        openNew();
        pickCar(car1);
        CF->Grid_work->setCurrentRow(1);
        CF->BitBtn5Click();  // the blank row gets the mark
        QCOMPARE(CF->Grid_work->cell(contracts::kLineMark, 1), QString("-"));
        CF->AppendSpare(s("А"), "1", "1");
        CF->grid_sp->setCurrentRow(1);
        CF->BitBtn8Click();  // removed
        CF->BitBtn8Click();  // and marked
        QCOMPARE(save(), QString());
        QCOMPARE(count("Contracts"), 2);
        QCOMPARE(count("CT_Works"), 1);
        QCOMPARE(count("CT_Spares"), 0);
    }

    // A bad price or quantity anywhere stops the save before its first
    // statement: no contract row, no line, no deletion.
    void badLineTextsStopTheSaveBeforeAnythingIsWritten() {
        openNew();
        pickCar(car1);
        const QString generator = support::scalar("select gen_id(gen_doc_num,0) from RDB$DATABASE");
        CF->AppendWork(s("ХОРОШАЯ"), "100");
        CF->AppendWork(s("ПЛОХАЯ"), "12,3,4");
        QCOMPARE(save(), QString("'12,3,4' is not a valid floating point value"));
        QCOMPARE(count("Contracts"), 0);
        QCOMPARE(count("CT_Works"), 0);
        QCOMPARE(support::scalar("select gen_id(gen_doc_num,0) from RDB$DATABASE"), generator);
        QVERIFY(CF->NewDoc);
        QVERIFY(CF->ToolButton8->isEnabled());

        CF->Grid_work->setCell(contracts::kWorkPrice, 2, "12,5");
        CF->AppendSpare(s("ШТУКА"), "2.5", "300");
        QCOMPARE(save(), QString("'2.5' is not a valid integer value"));
        CF->grid_sp->setCell(contracts::kSpareQuantity, 1, "2");
        CF->grid_sp->setCell(contracts::kSparePrice, 1, "3.00");
        QCOMPARE(save(), QString("'3.00' is not a valid floating point value"));
        CF->grid_sp->setCell(contracts::kSparePrice, 1, "3");
        CF->AppendWork(s("НЕ ТА КОДИРОВКА ✓"), "1");
        QVERIFY(!errorOf([] { CF->ToolButton8Click(); }).isEmpty());
        QCOMPARE(count("Contracts"), 0);
        QCOMPARE(count("CT_Works") + count("CT_Spares"), 0);
        CF->Grid_work->setCurrentRow(3);
        CF->BitBtn5Click();
        QCOMPARE(save(), QString());
        QCOMPARE(count("Contracts"), 1);
        QCOMPARE(count("CT_Works"), 2);
        QCOMPARE(count("CT_Spares"), 1);
        CF->ToolButton14Click();

        // Edit mode: neither the update, nor the deletion above the bad row, nor the lines.
        const int ct = lastKey("Contracts");
        const QString rem = support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct));
        openEdit(ct);
        CF->Memo1->setPlainText(s("НОВОЕ"));
        CF->Grid_work->setCurrentRow(1);
        CF->BitBtn5Click();
        CF->AppendWork(s("ЕЩЁ"), "50");
        CF->AppendSpare(s("ЕЩЁ"), "", "1");
        QCOMPARE(save(), QString("'' is not a valid integer value"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct)), rem);
        QCOMPARE(count("CT_Works"), 2);
        QCOMPARE(count("CT_Spares"), 1);
        // Mended, the same save goes through once, without duplicates.
        CF->grid_sp->setCell(contracts::kSpareQuantity, 2, "1");
        QCOMPARE(save(), QString());
        QCOMPARE(count("CT_Works"), 2);
        QCOMPARE(count("CT_Spares"), 2);
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct)), s("НОВОЕ"));
    }

    // A spare taken in the picker brings its article number and maker into the
    // line; they are saved with it and reach the work order.
    void spareLineCarriesArticleAndMaker() {
        support::exec(s("DELETE FROM Spares"));
        support::exec(s("INSERT INTO Spares (name, price, art, maker) VALUES ('ФИЛЬТР', 450, 'W712/75', 'MANN')"));
        const int ct = addContract(car1, "01.02.2024", QString(), QString());
        openEdit(ct);
        takeSpare("W712", "2");
        QCOMPARE(CF->grid_sp->cell(contracts::kLineName, 1), s("ФИЛЬТР"));
        QCOMPARE(CF->grid_sp->cell(contracts::kSpareArt, 1), QString("W712/75"));
        QCOMPARE(save(), QString());
        QCOMPARE(spareArticles(), QString("W712/75|MANN"));
        QCOMPARE(CF->grid_sp->cell(contracts::kSpareMaker, 1), QString("MANN"));  // read back
        const app::WorkOrder order = app::readWorkOrder(ct);
        QCOMPARE(order.spares.at(0).mid(0, 3), QStringList({s("ФИЛЬТР"), "W712/75", "MANN"}));
    }

    // Last, as it leaves the data module on it: a database without the
    // columns. The fields and columns are hidden; the fixed statements write.
    void databaseWithoutArticles() {
        QTemporaryDir base;
        DM->IBTrans.endRead();
        DM->IBDbase.close();
        DM->IBDbase.databaseName = support::makeBaseDatabase(base);
        DM->IBDbase.open();
        app::setDatabaseSchema(0);
        SP->FormActivate();
        QVERIFY(!SP->EditArt->isVisibleTo(SP));
        QCOMPARE(SP->Grid_Sp->colCount(), 3);
        SP->ToolButton2Click();
        SP->Box1->setText(s("ФИЛЬТР"));
        SP->Edit1->setText("450");
        SP->EditArt->setText("W712/75");  // hidden: not written
        SP->ToolButton8Click();
        QCOMPARE(count("Spares"), 1);
        const int car = addCar(s("ВАЗ"), s("2107"), s("А123ВС"));
        const int ct = addContract(car, "01.02.2024", QString(), QString());
        openEdit(ct);
        takeSpare(s("ФИЛ"), "1");
        QCOMPARE(CF4->Grid_sp->colCount(), 3);
        QCOMPARE(save(), QString());
        QCOMPARE(count("CT_Spares"), 1);
        QCOMPARE(app::readWorkOrder(ct).spares.at(0).mid(0, 3), QStringList({s("ФИЛЬТР"), "", ""}));
    }
};

QTEST_MAIN(TestEditorLines)
#include "tst_editor_lines.moc"
