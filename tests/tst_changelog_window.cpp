// The change log in the windows: the editor's status line says who created
// the contract and who changed it last; Enter on a contract's entry of the
// journal opens that contract for viewing, and a deleted one is said so.
#include "app/DM.h"
#include "app/Login.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "fb/Login.h"
#include "program/Windows.h"
#include "support/Modal.h"
#include "support/TestDb.h"
#include "users/AU.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The journal's row of the contract's own insert.
int insertRow(int key) {
    for (int r = 1; r < AU->Grid->rowCount(); ++r)
        if (AU->Grid->cell(2, r) == "CONTRACTS" && AU->Grid->cell(4, r) == QString::number(key)) return r;
    return -1;
}

}  // namespace

class TestChangeLogWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
        // As the program's own attachment on one computer does.
        app::nameSessionUser(DM->IBDbase);
    }
    void cleanupTestCase() { program::destroyForms(); }

    // Esc in a window's list closes the window, in each of the owner's windows
    // as in the rest.
    void escInTheListClosesTheWindow() {
        for (QAction* item : {MF->N44, MF->N45, MF->N51, MF->N52, MF->N53, MF->N54, MF->N55}) {
            bool stayed = true;
            support::whenModalRuns([&stayed] {
                auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                const auto grids = window ? window->findChildren<widgets::StringGrid*>() : QList<widgets::StringGrid*>();
                if (grids.isEmpty()) return;
                grids.first()->setFocus();
                QTest::keyClick(grids.first(), Qt::Key_Escape);
                stayed = window->isVisible();
                if (stayed) window->reject();
            });
            item->trigger();
            QVERIFY2(!stayed, qPrintable(item->text()));
        }
    }

    void journalOpensTheContractWithItsAuthors() {
        support::exec("INSERT INTO Cars (dev) VALUES ('ВАЗ')");
        support::exec("INSERT INTO Contracts (c_date, meh, cr_fk) VALUES (CURRENT_DATE, 'ИВАНОВ', " +
                      QString::number(support::lastKey("Cars")) + ")");
        const int key = support::lastKey("Contracts");
        const QString num = support::scalar("SELECT num FROM Contracts WHERE pk_id = " + QString::number(key));
        const QString user = fb::systemUserName().toUpper();
        support::whenModalRuns([key] {
            const int row = insertRow(key);
            QVERIFY(row > 0);
            AU->Grid->setCurrentRow(row);
            AU->Grid->setFocus();
            QTest::keyClick(AU->Grid, Qt::Key_Return);
        });
        MF->N45Click();
        QVERIFY(CF->isVisible());
        QVERIFY(!CF->NewDoc && !CF->EditDoc);
        QCOMPARE(CF->windowTitle(), "Просмотр записи №" + num);
        QVERIFY2(CF->LabelAuthors->text().startsWith("Создал " + user + " "), qPrintable(CF->LabelAuthors->text()));
        QVERIFY(!CF->LabelAuthors->text().contains("изменил"));
        CF->hide();

        // A deleted contract's entries stay in the journal; Enter says why it does not open.
        support::exec("DELETE FROM Contracts WHERE pk_id = " + QString::number(key));
        AU->FormActivate();
        AU->Grid->setCurrentRow(insertRow(key));
        widgets::MessageRecorder messages;
        AU->GridEnter();
        QVERIFY(AU->ChosenKey.isEmpty());
        QVERIFY(messages.lastText().startsWith("Договор удалён"));
    }
};

QTEST_MAIN(TestChangeLogWindow)
#include "tst_changelog_window.moc"
