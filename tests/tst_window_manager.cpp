// Window behaviour under a real window manager (openbox on Xvfb, see
// tests/with-window-manager): the user clicks the greyed-out main window, or
// Alt+Tabs to it, while a modeless window is open and being typed in.
#include "app/DM.h"
#include "program/Windows.h"
#include "app/WindowFlow.h"
#include "cars/DC.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "widgets/UpperEdit.h"
#include "widgets/UpperCombo.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWindow>

class TestWindowManager : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // Counts the activations the window manager delivers to a window.
    struct ActivationsOf : QObject {
        int seen = 0;
        explicit ActivationsOf(QWidget* w) { w->installEventFilter(this); }
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::WindowActivate) ++seen;
            return false;
        }
    };

    // What the window manager does on a click on `window`, on the task bar
    // or on Alt+Tab: activate it (and raise it over the others). True once
    // `window` has had that activation and `expected` is the active window
    // after it: the program's redirect, when `expected` is another window.
    // A loaded machine may drop a request made while it maps or restacks:
    // the user clicks again, up to three times.
    static bool userActivates(QWidget* window, QWidget* expected) {
        ActivationsOf activations(window);
        for (int click = 0; click < 3; ++click) {
            window->windowHandle()->requestActivate();
            if (QTest::qWaitFor([&] { return activations.seen > 0 && QApplication::activeWindow() == expected; }, 5000))
                return true;
        }
        return false;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QVERIFY2(QGuiApplication::platformName() == "xcb", "run through tests/with-window-manager");
        program::createForms();
        MF->FirstActivation = false;
        support::connectDataModule(support::makeDatabase(dir));
        support::exec(QString::fromUtf8("INSERT INTO Cars (dev, mod, gnum, d_year) VALUES ('ВАЗ', '2107', 'А1', 2010)"));
        MF->show();
        MF->activateWindow();  // a loaded machine may map it after the window manager's focus decision
        QVERIFY(QTest::qWaitForWindowActive(MF, 15000));
    }
    void cleanupTestCase() { program::destroyForms(); }

    void theEditorStaysInFrontAndKeepsItsMode() {
        MF->ToolButton2Click();
        QVERIFY(QTest::qWaitForWindowActive(CF, 15000));
        CF->Memo1->setPlainText(QString::fromUtf8("НЕ ПОТЕРЯТЬ"));
        CF->Car_id->setText(support::scalar("SELECT MAX(pk_id) FROM Cars"));
        CF->EditKm->setText("1000");
        QVERIFY(userActivates(MF, CF));
        QVERIFY(CF->NewDoc);
        QCOMPARE(CF->Memo1->toPlainText(), QString::fromUtf8("НЕ ПОТЕРЯТЬ"));
        CF->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT rem FROM Contracts"), QString::fromUtf8("НЕ ПОТЕРЯТЬ"));
        CF->close();
        QVERIFY(QTest::qWaitForWindowActive(MF, 15000));
        QVERIFY(!CF->NewDoc);
    }

    void theDirectoryKeepsTheCarBeingTyped() {
        app::openModeless(DC);
        QVERIFY(QTest::qWaitForWindowActive(DC, 15000));
        DC->ToolButton2Click();
        DC->Box1->setText(QString::fromUtf8("УАЗ"));
        QVERIFY(userActivates(MF, DC));
        QVERIFY(DC->Adding);
        QCOMPARE(DC->Box1->text(), QString::fromUtf8("УАЗ"));
        DC->close();
        QVERIFY(QTest::qWaitForWindowActive(MF, 15000));
    }

    // The title bar's close on the greyed-out journal, as the window manager
    // sends it, and a close from code: the program stays, the window over
    // the journal comes to the front with what was typed in it.
    void closingTheDisabledJournalKeepsTheWindowOverIt() {
        MF->ToolButton2Click();
        QVERIFY(QTest::qWaitForWindowActive(CF, 15000));
        CF->Memo1->setPlainText(QString::fromUtf8("НЕ ПОТЕРЯТЬ"));
        QVERIFY(!MF->windowHandle()->close());
        QVERIFY(!MF->close());
        QVERIFY(MF->isVisible());
        QVERIFY(CF->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(CF));
        QVERIFY(CF->NewDoc);
        QCOMPARE(CF->Memo1->toPlainText(), QString::fromUtf8("НЕ ПОТЕРЯТЬ"));
        CF->close();
        QVERIFY(QTest::qWaitForWindowActive(MF, 15000));

        app::openModeless(DC);
        QVERIFY(QTest::qWaitForWindowActive(DC, 15000));
        QVERIFY(!MF->close());
        QVERIFY(MF->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(DC));
        DC->close();
        QVERIFY(QTest::qWaitForWindowActive(MF, 15000));
    }
};

TORQUIL_TEST_MAIN(TestWindowManager)
#include "tst_window_manager.moc"
