// The road of one contract through the windows, as a user takes it: the
// journal, the editor, the car picker with a new car, the work and spare
// pickers with a catalogue row and new catalogue items, the save, and the
// journal again. Nothing is written by the test itself.
#include "app/DM.h"
#include "program/Windows.h"
#include "cars/CF2.h"
#include "contracts/CF.h"
#include "contracts/CF3.h"
#include "contracts/CF4.h"
#include "contracts/MF.h"
#include "rtl/Convert.h"
#include "support/TestDb.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"
#include "support/Modal.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QWidget* focused() { return QApplication::focusWidget(); }

void typeText(const QString& text) { support::typeText(focused(), text); }

// Types into the focused field and presses Enter.
void enter(const QString& text) {
    typeText(text);
    QTest::keyClick(focused(), Qt::Key_Return);
}

void doubleClick(widgets::StringGrid* grid, int row) {
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// `done` is set when the action ran with no failed check.
void whenModal(QDialog* dialog, bool* done, std::function<void()> action) {
    support::whenModal(dialog, std::move(action), done);
}

QStringList row(widgets::StringGrid* grid, int r) {
    QStringList cells;
    for (int c = 0; c < grid->colCount(); ++c) cells << grid->cell(c, r);
    return cells;
}

}  // namespace

class TestContractRoad : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
        // The shop's catalogues before the day starts.
        support::exec("INSERT INTO meh (name) VALUES ('ПЕТРОВ')");
        support::exec("INSERT INTO Works (name, price) VALUES ('ДИАГНОСТИКА', 1200)");
        support::exec("INSERT INTO dev (name) VALUES ('ЛАДА')");
    }
    void cleanupTestCase() { program::destroyForms(); }

    void registerContractThroughTheWindows() {
        widgets::MessageRecorder messages;  // errors of handlers are recorded, not shown
        MF->show();
        QApplication::setActiveWindow(MF);
        QVERIFY(QTest::qWaitForWindowActive(MF));
        widgets::Activation::instance().report(MF);
        QCOMPARE(MF->Grid_doc->cell(0, 1), QString());

        // 1-2. Register: the editor opens empty with the number preview and today's date.
        QTest::mouseClick(MF->ToolButton2, Qt::LeftButton);
        QVERIFY(CF->isVisible());
        QVERIFY(!MF->isEnabled());
        QApplication::setActiveWindow(CF);
        QCOMPARE(CF->windowTitle(), QString("* Новая запись "));
        QCOMPARE(CF->Edit0->text(), QString("1"));
        QCOMPARE(CF->MaskEdit1->text(), rtl::DateToStr(QDate::currentDate()));
        QTest::mouseClick(CF->Box0->lineEdit(), Qt::LeftButton);
        enter("пет");  // completes to the mechanic
        QCOMPARE(CF->Box0->text(), QString("ПЕТРОВ"));
        QCOMPARE(focused(), CF->Memo1);
        typeText("СТУК СПЕРЕДИ");

        // 3. A new car, typed field by field with Enter, accepted with Enter.
        bool done = false;
        whenModal(CF2, &done, [] {
            QCOMPARE(focused(), CF2->Box1);
            for (const char* text : {"лад", "гранта", "е123кх", "98", "2018", "64000", "xta219", "белый", "бензин",
                                     "1.6 8v", "седан", "4 дв", "сидоров", "+7 900 1234567"})
                enter(QString::fromUtf8(text));
            QCOMPARE(CF2->Box1->text(), QString("ЛАДА"));
            QCOMPARE(CF2->Box7->text(), QString("БЕЛЫЙ"));
            QCOMPARE(CF2->Car_id->text(), QString("*"));
            QCOMPARE(focused(), CF2->BitBtn1);
            QTest::keyClick(focused(), Qt::Key_Return);
        });
        QTest::mouseClick(CF->BitBtn1, Qt::LeftButton);
        QVERIFY(done);
        QCOMPARE(CF->Box1->text() + " " + CF->Box2->text() + " " + CF->Box10->text(), QString("ЛАДА ГРАНТА СИДОРОВ"));
        QCOMPARE(CF->Edit1->text(), QString("64000"));
        QVERIFY(CF->Car_id->text() != "*");
        QVERIFY(CF->ToolButton8->isEnabled());
        // The odometer's reading at this visit.
        CF->EditKm->setFocus();
        QTest::keyClicks(CF->EditKm, "64500");

        // 4. Works: one from the catalogue by a double click, one new.
        whenModal(CF3, &done, [] {
            enter("диаг");
            doubleClick(CF3->Grid_work, 1);
            QCOMPARE(focused(), CF3->Edit1);
            QCOMPARE(CF3->Edit1->text(), QString("1200"));
            QTest::keyClick(focused(), Qt::Key_Return);
        });
        QTest::mouseClick(CF->BitBtn3, Qt::LeftButton);
        QVERIFY(done);
        whenModal(CF3, &done, [] {
            enter("замена ремня грм");
            QCOMPARE(CF3->work_id->text(), QString("*"));
            enter("3500,5");
        });
        QTest::mouseClick(CF->BitBtn3, Qt::LeftButton);
        QVERIFY(done);
        // A spare part, new to the catalogue: name, price, quantity.
        whenModal(CF4, &done, [] {
            enter("ремень грм");
            enter("2100");
            enter("2");
        });
        QTest::mouseClick(CF->BitBtn6, Qt::LeftButton);
        QVERIFY(done);
        QCOMPARE(row(CF->Grid_work, 2), QStringList({"+", "+", "ЗАМЕНА РЕМНЯ ГРМ", "3500,5"}));

        // 5. Save: the stored number and the totals are shown.
        QTest::mouseClick(CF->ToolButton8, Qt::LeftButton);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.lastText()));
        QCOMPARE(CF->Edit0->text(), QString("1"));
        QCOMPARE(CF->Label20->text(), QString("4700,5"));
        QCOMPARE(CF->Label21->text(), QString("4200"));
        QCOMPARE(CF->Label17->text(), QString("8900,5"));
        QCOMPARE(support::scalar("SELECT km || '|' || next_km FROM Contracts"), QString("64500|79500"));
        QVERIFY(!CF->ToolButton8->isEnabled());

        // 6. Close: the journal lists the contract.
        QTest::mouseClick(CF->ToolButton14, Qt::LeftButton);
        QVERIFY(!CF->isVisible());
        QVERIFY(MF->isEnabled());
        QCOMPARE(MF->Grid_doc->rowCount(), 2);
        const QStringList listed = row(MF->Grid_doc, 1);
        QCOMPARE(listed.mid(1), QStringList({"  1", "  " + rtl::DateToStr(QDate::currentDate()), "  ЛАДА - ГРАНТА",
                                             "  Е123КХ 98", "  СИДОРОВ", "  +7 900 1234567", "  ПЕТРОВ"}));

        // Viewed from the journal, it shows its lines and totals as stored.
        QApplication::setActiveWindow(MF);
        QTest::keyClick(MF->Grid_doc, Qt::Key_Return);
        QVERIFY(CF->isVisible());
        QCOMPARE(CF->Label17->text(), QString("8900,5"));
        QCOMPARE(row(CF->grid_sp, 1).mid(2), QStringList({"РЕМЕНЬ ГРМ", "2", "2100", "4200"}));
        QCOMPARE(CF->Memo1->toPlainText(), QString("СТУК СПЕРЕДИ"));
        QCOMPARE(CF->Box7->text(), QString("БЕЛЫЙ"));
        QTest::mouseClick(CF->ToolButton14, Qt::LeftButton);

        // The new names went to the catalogues on the way.
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM Works WHERE name = 'ЗАМЕНА РЕМНЯ ГРМ' AND price = 3500.5"),
                 QString("1"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM Spares WHERE name = 'РЕМЕНЬ ГРМ' AND price = 2100"), QString("1"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM models WHERE name = 'ГРАНТА'"), QString("1"));
        QVERIFY2(messages.isEmpty(), qPrintable(messages.lastText()));
    }
};

// The program's own application object, so that a handler's error is shown
// (here: recorded) as in the program instead of ending the test.
int main(int argc, char** argv) {
    widgets::Application app(argc, argv);
    TestContractRoad test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_contract_road.moc"
