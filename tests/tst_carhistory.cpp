// Finding a car in the directory and a car's service history, over a real
// database with the whole set of windows.
#include "app/DM.h"
#include "program/Windows.h"
#include "cars/CarList.h"
#include "cars/CarSearch.h"
#include "cars/DC.h"
#include "cars/HS.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "fb/Query.h"
#include "print/Render.h"
#include "support/Pdf.h"
#include "support/Cars.h"
#include "support/TestDb.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

using support::typeText;

int addCar(const QString& dev, const QString& mod, const QString& gnum, const QString& region, const QString& vin,
           const QString& owner, const QString& phone) {
    return support::addCar({{"dev", dev}, {"mod", mod}, {"gnum", gnum}, {"region", region}, {"vin", vin},
                            {"owner", owner}, {"phone", phone}});
}

// The owners of the cars a search finds, in list order.
QStringList found(const QString& text) {
    fb::Query& q = DM->iCar;
    q.close();
    q.open(cars::searchColumns());
    const cars::CarSearch search(cars::carListRows(q.takeRows(), {"  ", false}));
    const auto rows = search.rows(text);
    QStringList owners;
    for (int r = 0; r < rows->count(); ++r) owners << rows->text(8, r).mid(2);
    return owners;
}

int addContract(int car, const QString& date, int num) {
    support::exec(QString("INSERT INTO Contracts (num, c_date, meh, cr_fk) VALUES (%1, '%2', 'СИДОРОВ', %3)")
                      .arg(num).arg(date).arg(car));
    return support::lastKey("Contracts");
}

void addWork(int ct, const QString& price) {
    support::exec(QString("INSERT INTO CT_Works (ct_fk, name, price) VALUES (%1, 'РАБОТА', %2)").arg(ct).arg(price));
}

void addSpare(int ct, const QString& price, int num) {
    support::exec(QString("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (%1, 'ДЕТАЛЬ', %2, %3)")
                      .arg(ct).arg(price).arg(num));
}

}  // namespace

class TestCarHistory : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
        addCar("ВАЗ", "2107", "А123ВС", "77", "XTA21070012345678", "ПЕТРОВ", "+7 925 842-17-01");
        addCar("ЛАДА", "ВЕСТА", "К555КК", "50", "XTA_1", "О'БРАЙЕН", "(495) 111-22-33");
        addCar("КИА", "РИО", "М777ММ", "99", "XTAB1", "СКИДКА 50%", "8 800 000");
        addCar("ВАЗ", "2110", "Р001РР", "777", "Z94", "ИВАНОВ", "");
    }
    void cleanupTestCase() { program::destroyForms(); }

    void searchFindsAnyPartOfWhatTheClerkKnows() {
        QCOMPARE(found(""), QStringList({"ПЕТРОВ", "ИВАНОВ", "СКИДКА 50%", "О'БРАЙЕН"}));  // every car, as before
        QCOMPARE(found("   "), found(""));
        QCOMPARE(found("8421701"), QStringList({"ПЕТРОВ"}));         // phone punctuation ignored
        QCOMPARE(found("(495)111"), QStringList({"О'БРАЙЕН"}));
        QCOMPARE(found("23ВС"), QStringList({"ПЕТРОВ"}));            // inside the number
        QCOMPARE(found("А123ВС 77"), QStringList({"ПЕТРОВ"}));       // number with region
        QCOMPARE(found("ваз 21"), QStringList({"ПЕТРОВ", "ИВАНОВ"}));  // make and model, in capitals
        QCOMPARE(found("ТРОВ"), QStringList({"ПЕТРОВ"}));            // owner
        QCOMPARE(found("12345"), QStringList({"ПЕТРОВ"}));           // VIN
        QCOMPARE(found("О'БР"), QStringList({"О'БРАЙЕН"}));          // a quote is just a character
        QCOMPARE(found("50%"), QStringList({"СКИДКА 50%"}));         // "%" and "_" taken literally
        QCOMPARE(found("A_1"), QStringList({"О'БРАЙЕН"}));
        QCOMPARE(found("%"), QStringList({"СКИДКА 50%"}));
        QCOMPARE(found("_"), QStringList({"О'БРАЙЕН"}));
        QCOMPARE(found("\\"), QStringList());
        QCOMPARE(found("-"), QStringList());                          // no phone in a sign alone
        QCOMPARE(found("НЕТ ТАКОЙ"), QStringList());
    }

    // Plates and VINs in either alphabet, a plate with blanks, a phone with
    // 8, +7 or neither, Ё typed as Е and the other way round.
    void searchAsAClerkTypes() {
        const int car = addCar("УАЗ", "469", "X 001 XX", "150", "", "ФЁДОРОВ", "8-916-000-11-22");
        QCOMPARE(found("A123BC"), QStringList({"ПЕТРОВ"}));  // Latin for the Cyrillic stored
        QCOMPARE(found("ХТА2107"), QStringList({"ПЕТРОВ"}));  // Cyrillic for the Latin VIN
        QCOMPARE(found("х001хх150"), QStringList({"ФЁДОРОВ"}));
        QCOMPARE(found("А 123 ВС"), QStringList({"ПЕТРОВ"}));
        QCOMPARE(found("ФЕДОР"), QStringList({"ФЁДОРОВ"}));
        QCOMPARE(found("ПЁТР"), QStringList({"ПЕТРОВ"}));
        for (const char* phone : {"89258421701", "+7 (925) 842", "9258421701", "8 925"})
            QCOMPARE(found(phone), QStringList({"ПЕТРОВ"}));
        QCOMPARE(found("+7916"), QStringList({"ФЁДОРОВ"}));
        QCOMPARE(found("84951112233"), QStringList({"О'БРАЙЕН"}));
        QCOMPARE(found("8800"), QStringList({"СКИДКА 50%"}));  // no national number: as typed
        QCOMPARE(found("∞"), QStringList());  // no stored text can hold it
        support::exec(QString("DELETE FROM Cars WHERE pk_id = %1").arg(car));
    }

    void directoryListFollowsTheSearchField() {
        DC->FormActivate();
        QCOMPARE(DC->Grid_cars->rowCount(), 5);
        QTest::keyClicks(DC->EditFind, "842");
        QCOMPARE(DC->Grid_cars->rowCount(), 2);
        QCOMPARE(DC->Grid_cars->cell(8, 1), QString("  ПЕТРОВ"));
        QCOMPARE(DC->Box10->text(), QString("ПЕТРОВ"));  // the fields show the car found
        DC->FormActivate();                                 // a rebuild keeps the search
        QCOMPARE(DC->Grid_cars->rowCount(), 2);
        QTest::keyClicks(DC->EditFind, "9");
        QCOMPARE(DC->Grid_cars->rowCount(), 2);
        QVERIFY(DC->Grid_cars->cell(0, 1).isEmpty());       // nothing found: one blank row
        DC->ToolButton4Click();
        QVERIFY(!DC->Editing);
        // While a car is edited the list cannot change under it.
        DC->EditFind->clear();
        DC->EditFindChange();
        QCOMPARE(DC->Grid_cars->rowCount(), 5);
        DC->ToolButton4Click();
        QVERIFY(DC->Editing);
        QVERIFY(!DC->EditFind->isEnabled());
        QTest::keyClick(DC->Box3, Qt::Key_Escape);
        QVERIFY(!DC->Editing);
        QVERIFY(DC->EditFind->isEnabled());
        QTest::keyClicks(DC->EditFind, "XYZ");
        QTest::keyClick(DC->EditFind, Qt::Key_Escape);      // Esc empties the search
        QVERIFY(DC->EditFind->text().isEmpty());
        QCOMPARE(DC->Grid_cars->rowCount(), 5);
    }

    // Only the contracts of the car's key, newest first, with the totals in
    // fixed point; another car with the same number is another car.
    void historyOfOneCar() {
        const int car = addCar("ФОРД", "ФОКУС", "Е001ЕЕ", "77", "WF0", "ЖУКОВ", "5");
        const int twin = addCar("ФОРД", "ФОКУС", "Е001ЕЕ", "77", "WF0", "ЖУКОВ", "5");
        const int a = addContract(car, "2024-01-10", 7);
        addWork(a, "100");
        addWork(a, "250.5");
        addWork(a, "0.25");
        addSpare(a, "12.5", 3);
        const int b = addContract(car, "2024-03-05", 9);
        addSpare(b, "0.1", 3);
        const int c = addContract(car, "2024-03-05", 8);
        addContract(twin, "2024-04-01", 10);

        HS->CarKey = QString::number(car);
        HS->FormActivate();
        QCOMPARE(HS->Label1->text(), QString("ФОРД ФОКУС"));
        QCOMPARE(HS->Label2->text(), QString("Е001ЕЕ 77"));
        QCOMPARE(HS->Label5->text(), QString("5"));
        QCOMPARE(HS->Grid_hist->rowCount(), 4);
        QCOMPARE(HS->Grid_hist->cell(0, 1), QString::number(b));
        QCOMPARE(HS->Grid_hist->cell(0, 2), QString::number(c));
        QCOMPARE(HS->Grid_hist->cell(0, 3), QString::number(a));
        QCOMPARE(HS->Grid_hist->cell(2, 3), QString("  10.01.2024"));
        QCOMPARE(HS->Grid_hist->cell(3, 3), QString("  СИДОРОВ"));
        QCOMPARE(HS->Grid_hist->cell(4, 3), QString("  350,75"));
        QCOMPARE(HS->Grid_hist->cell(5, 3), QString("  37,5"));
        QCOMPARE(HS->Grid_hist->cell(6, 3), QString("  388,25"));
        QCOMPARE(HS->Grid_hist->cell(6, 1), QString("  0,3"));  // 0.1 × 3 in fixed point
        QCOMPARE(HS->Grid_hist->cell(6, 2), QString("  0"));
        QCOMPARE(HS->LabelTotal->text(), QString("ВИЗИТОВ: 3      НА СУММУ: 388,55"));
        // The lines follow the current contract.
        QCOMPARE(HS->Grid_hwork->cell(0, 1), QString());
        QCOMPARE(HS->Grid_hsp->cell(5, 1), QString("0,3"));
        HS->Grid_hist->setCurrentRow(3);
        QCOMPARE(HS->Grid_hwork->rowCount(), 4);
        QCOMPARE(HS->Grid_hsp->cell(2, 1), QString("ДЕТАЛЬ"));
        // On paper: the visits as listed, then each visit's lines.
        const QString pdf = dir.filePath("history.pdf");
        print::writePdf(HS->PrintDocument(), pdf);
        const QString printed = support::pdfPages(pdf).join('\n').simplified();
        for (const char* text : {"История обслуживания", "ФОРД ФОКУС, Е001ЕЕ 77", "ВИЗИТОВ: 3 НА СУММУ: 388,55",
                                 "Договор № 7 от 10.01.2024", "РАБОТА 250,5 250,5", "ДЕТАЛЬ 3 12,5 37,5", "Строк нет."})
            QVERIFY2(printed.contains(QString::fromUtf8(text)), text);

        HS->CarKey = QString::number(addCar("НОВАЯ", "", "", "", "", "", ""));
        HS->FormActivate();
        QCOMPARE(HS->Grid_hist->rowCount(), 2);
        QVERIFY(HS->Grid_hist->cell(0, 1).isEmpty());
        QCOMPARE(HS->LabelTotal->text(), QString("ВИЗИТОВ: 0      НА СУММУ: 0"));
        for (const char* t : {"CT_Works", "CT_Spares", "Contracts"}) support::exec(QString("DELETE FROM ") + t);
        support::exec(QString("DELETE FROM Cars WHERE pk_id > %1").arg(car - 1));
    }

    // Opened modal from the directory for the current car; Esc closes it.
    void openedFromTheDirectoryAndTheEditor() {
        DC->EditFind->clear();
        DC->FormActivate();
        typeText(DC->EditFind, "ИВАНОВ");
        QString seen;
        // The window fills itself when it becomes active, just after it shows.
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                QWidget* w = QApplication::activeModalWidget();
                if (w == HS) seen = HS->Label4->text();
                if (w) QTest::keyClick(HS->Grid_hist, Qt::Key_Escape);
            });
        });
        DC->ToolButton16->click();
        QCOMPARE(seen, QString("ИВАНОВ"));
        QVERIFY(!HS->isVisible());
        QCOMPARE(HS->parentWidget(), DC);
        DC->EditFind->clear();
        DC->EditFindChange();

        // The editor's button needs a car.
        CF->ClearDoc();
        QVERIFY(!CF->BitBtn9->isEnabled());
        CF->Car_id->setText(DC->Grid_cars->cell(0, 1));
        QVERIFY(CF->BitBtn9->isEnabled());
        CF->Car_id->setText("*");
        QVERIFY(!CF->BitBtn9->isEnabled());
    }
};

QTEST_MAIN(TestCarHistory)
#include "tst_carhistory.moc"
