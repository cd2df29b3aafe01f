// The work and spare pickers over a real database, with the whole set of windows.
#include "app/DM.h"
#include "program/Windows.h"
#include "contracts/CF.h"
#include "contracts/CF3.h"
#include "contracts/CF4.h"
#include "contracts/MF.h"
#include "rtl/Convert.h"
#include "support/TestDb.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

using support::count;
using support::typeText;

QStringList listed(LinePicker* p) {
    QStringList rows;
    for (int r = 1; r < p->grid()->rowCount(); ++r)
        rows << p->grid()->cell(1, r) + "|" + p->grid()->cell(2, r);
    return rows;
}

void openPicker(LinePicker* p) {
    p->show();
    QApplication::setActiveWindow(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    p->FormActivate();
}

// A press and release, then the double-click event, as a real double click.
void doubleClick(widgets::StringGrid* grid, int row) {
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace

class TestPickers : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QStringList handed;  // name|quantity|price of each line handed over

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
        LinePicker::watchHandOver([this](const QString& name, const QString& quantity, const QString& price) {
            handed << name + "|" + quantity + "|" + price;
        });
    }
    void cleanupTestCase() {
        LinePicker::watchHandOver({});
        program::destroyForms();
    }
    void init() {
        support::exec("DELETE FROM Works");
        support::exec("DELETE FROM Spares");
        support::exec("INSERT INTO Works (name, price) VALUES ('ЗАМЕНА МАСЛА', 500)");
        support::exec("INSERT INTO Works (name, price) VALUES ('АНТИКОР', 1200.5)");
        support::exec("INSERT INTO Spares (name, price) VALUES ('СВЕЧА', 150.5)");
        handed.clear();
        CF->ToolButton8->setEnabled(false);
    }
    void cleanup() {
        CF3->hide();
        CF4->hide();
        QTest::qWait(10);  // the platform's activation changes settle
    }

    void openingListsTheWholeCatalogue() {
        QCOMPARE(CF3->work_id->text(), QString("work_id"));
        QCOMPARE(CF4->sp_id->text(), QString("sp_id"));
        CF4->Edit2->setText("7");
        openPicker(CF4);
        QCOMPARE(listed(CF4), QStringList({"СВЕЧА|150,5"}));
        QCOMPARE(CF4->Grid_sp->cell(2, 0), QString("Стоимость"));
        QCOMPARE(CF4->Edit2->text(), QString());
        QCOMPARE(QApplication::focusWidget()->window(), CF4);

        CF3->Box1->setText("ОСТАЛОСЬ");
        CF3->Edit1->setText("1");
        openPicker(CF3);
        QCOMPARE(listed(CF3), QStringList({"АНТИКОР|1200,5", "ЗАМЕНА МАСЛА|500"}));
        QCOMPARE(CF3->Grid_work->cell(1, 0), QString("Наименование работ"));
        QCOMPARE(CF3->Box1->text() + CF3->Edit1->text(), QString());
        // The first key text counts as a key: a listed prefix goes to the contract only.
        typeText(CF3->Box1, "ЗАМ");
        typeText(CF3->Edit1, "450");
        QTest::keyClick(CF3->Edit1, Qt::Key_Return);
        QCOMPARE(handed, QStringList({"ЗАМ||450"}));
        QCOMPARE(count("Works"), 2);
        QVERIFY(!CF3->isVisible());
        QVERIFY(CF->ToolButton8->isEnabled());
    }

    void unknownNameGoesToTheCatalogueAndTheContract() {
        openPicker(CF3);
        typeText(CF3->Box1, "развал 'схождение'");
        QCOMPARE(listed(CF3), QStringList({"|"}));
        QCOMPARE(CF3->work_id->text(), QString("*"));
        QTest::keyClick(CF3->Box1, Qt::Key_Return);
        typeText(QApplication::focusWidget(), "800,5");
        QCOMPARE(CF3->Edit1->text(), QString("800,5"));
        QTest::keyClick(CF3->Edit1, Qt::Key_Return);
        QCOMPARE(handed, QStringList({"РАЗВАЛ 'СХОЖДЕНИЕ'||800,5"}));
        const QString key = support::scalar("SELECT pk_id FROM Works WHERE name = 'РАЗВАЛ ''СХОЖДЕНИЕ'''");
        QVERIFY(!key.isEmpty());
        QCOMPARE(CF3->work_id->text(), key);
        QCOMPARE(support::scalar("SELECT price FROM Works WHERE pk_id = " + key), QString("800,5"));
        QVERIFY(!support::scalar("SELECT sysinfo FROM Works WHERE pk_id = " + key).isEmpty());
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(CF3->result(), int(QDialog::Accepted));
    }

    void lettersDeletedBackToListedNamesStillAdd() {
        openPicker(CF3);
        typeText(CF3->Box1, "ЗАМЕНАХ");
        QCOMPARE(CF3->work_id->text(), QString("*"));
        QTest::keyClick(CF3->Box1, Qt::Key_Backspace);
        QCOMPARE(listed(CF3), QStringList({"ЗАМЕНА МАСЛА|500"}));
        QCOMPARE(CF3->work_id->text(), QString("*"));
        typeText(CF3->Edit1, "300");
        CF3->BitBtn1Click();
        QCOMPARE(handed, QStringList({"ЗАМЕНА||300"}));
        QCOMPARE(count("Works", "name = 'ЗАМЕНА' AND price = 300"), 1);
    }

    void takenRowConfirmsWithoutCatalogueChange() {
        openPicker(CF3);
        CF3->Grid_work->setCurrentRow(2);
        QTest::keyClick(CF3->Grid_work, Qt::Key_Return);
        QCOMPARE(CF3->Box1->text(), QString("ЗАМЕНА МАСЛА"));
        QCOMPARE(CF3->Edit1->text(), QString("500"));
        QCOMPARE(CF3->work_id->text(), support::scalar("SELECT pk_id FROM Works WHERE name = 'ЗАМЕНА МАСЛА'"));
        QCOMPARE(QApplication::focusWidget(), CF3->Edit1);
        CF3->Edit1->selectAll();
        typeText(CF3->Edit1, "550");
        QTest::keyClick(CF3->Edit1, Qt::Key_Return);
        QCOMPARE(handed, QStringList({"ЗАМЕНА МАСЛА||550"}));
        QCOMPARE(count("Works"), 2);
        QCOMPARE(count("Works", "price = 500"), 1);
    }

    void sparePickerEnterOrder() {
        openPicker(CF4);
        doubleClick(CF4->Grid_sp, 1);
        QCOMPARE(CF4->Box1->text() + "|" + CF4->Edit1->text(), QString("СВЕЧА|150,5"));
        QCOMPARE(QApplication::focusWidget(), CF4->Edit1);
        QTest::keyClick(CF4->Edit1, Qt::Key_Return);  // price → quantity
        QCOMPARE(QApplication::focusWidget(), CF4->Edit2);
        QVERIFY(CF4->isVisible());
        QTest::keyClick(CF4->Edit2, Qt::Key_Return);  // no quantity yet: ignored
        QVERIFY(CF4->isVisible());
        QVERIFY(handed.isEmpty());
        typeText(CF4->Edit2, "4");
        QTest::keyClick(CF4->Edit2, Qt::Key_Return);
        QCOMPARE(handed, QStringList({"СВЕЧА|4|150,5"}));
        QCOMPARE(count("Spares"), 1);
        QVERIFY(!CF4->isVisible());
    }

    void blankRowBadPriceAndEscape() {
        openPicker(CF4);
        typeText(CF4->Box1, "ГАЙКА");
        QCOMPARE(listed(CF4), QStringList({"|"}));
        QTest::keyClick(CF4->Grid_sp, Qt::Key_Return);
        QCOMPARE(CF4->Box1->text() + CF4->Edit1->text(), QString("ГАЙКА"));
        CF4->Edit2->setText("2");
        CF4->BitBtn1Click();  // no price: ignored
        QVERIFY(CF4->isVisible());
        CF4->Edit1->setText("12.5");
        try {
            CF4->BitBtn1Click();
            QFAIL("no error");
        } catch (const rtl::ConvertError& e) {
            QCOMPARE(e.text(), QString("'12.5' is not a valid floating point value"));
        }
        QVERIFY(CF4->isVisible());
        CF4->Edit1->setText("1000000000");
        CF4->Edit2->setText("1000000");  // the line's sum does not fit
        try {
            CF4->BitBtn1Click();
            QFAIL("no error");
        } catch (const rtl::ConvertError& e) {
            QVERIFY2(e.text().contains(QString::fromUtf8("«1E15» вне допустимого диапазона")), qPrintable(e.text()));
        }
        QVERIFY(CF4->isVisible());
        QCOMPARE(count("Spares"), 1);
        // A name that fills its column is still a valid filter.
        CF4->Box1->setText(QString(150, QChar(u'Ж')));
        CF4->FillList();
        QCOMPARE(listed(CF4), QStringList({"|"}));
        QTest::keyClick(CF4->Grid_sp, Qt::Key_Escape);
        QVERIFY(!CF4->isVisible());
        QCOMPARE(CF4->result(), int(QDialog::Rejected));
        QVERIFY(handed.isEmpty());
        QVERIFY(!CF->ToolButton8->isEnabled());
    }

    // The spare picker lists the article number and maker, finds a part by
    // the beginning of either its name or its article, and keeps the taken
    // row's article only while the name is not typed over.
    void sparePickerFindsByArticle() {
        support::exec("INSERT INTO Spares (name, price, art, maker) VALUES ('ФИЛЬТР', 450, 'W712/75', 'MANN')");
        support::exec("INSERT INTO Spares (name, price, art) VALUES ('W-ОБРАЗНЫЙ РЕМЕНЬ', 900, '6PK1200')");
        openPicker(CF4);
        QCOMPARE(CF4->Grid_sp->cell(3, 0) + "|" + CF4->Grid_sp->cell(4, 0), QString("Артикул|Производитель"));
        typeText(CF4->Box1, "w");
        QCOMPARE(listed(CF4), QStringList({"W-ОБРАЗНЫЙ РЕМЕНЬ|900", "ФИЛЬТР|450"}));
        typeText(CF4->Box1, "71");
        QCOMPARE(listed(CF4), QStringList({"ФИЛЬТР|450"}));
        QCOMPARE(CF4->Grid_sp->cell(3, 1) + "|" + CF4->Grid_sp->cell(4, 1), QString("W712/75|MANN"));
        CF4->Grid_sp->setCurrentRow(1);
        QTest::keyClick(CF4->Grid_sp, Qt::Key_Return);
        QCOMPARE(CF4->Box1->text() + "|" + CF4->article() + "|" + CF4->maker(), QString("ФИЛЬТР|W712/75|MANN"));
        typeText(CF4->Box1, "Х");
        QCOMPARE(CF4->article() + CF4->maker(), QString());
    }
};

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
