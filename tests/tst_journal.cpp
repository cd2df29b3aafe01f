// The main window's journal: filters, periods, opening the editor, deleting.
#include "app/DM.h"
#include "program/Windows.h"
#include "contracts/CF.h"
#include "contracts/JournalPeriod.h"
#include "contracts/MF.h"
#include "rtl/Convert.h"
#include "support/Cars.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "widgets/Activation.h"
#include "widgets/Links.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

QString sqlDate(const QDate& d) { return "'" + d.toString("yyyy-MM-dd") + "'"; }

// A car with every filtered column filled; returns its key.
int addCar(const QString& dev, const QString& mod, const QString& gnum = "А001АА", const QString& nullColumn = {}) {
    support::Columns columns = {{"dev", dev},         {"mod", mod},           {"gnum", gnum},
                                {"vin", "VIN" + gnum}, {"body2", "4 ДВЕРИ"}, {"owner", "ПЕТРОВ П.П."},
                                {"phone", "111"},     {"d_year", QVariant()}, {"color", QVariant()},
                                {"km", QVariant()}};
    if (!nullColumn.isEmpty()) columns.append({nullColumn, QVariant()});
    return support::addCar(columns);
}

int addContract(int car, const QDate& date, const QString& meh = "ИВАНОВ") {
    support::exec(QString("INSERT INTO Contracts (c_date, meh, cr_fk) VALUES (%1, '%2', %3)")
                      .arg(sqlDate(date), meh)
                      .arg(car));
    return support::lastKey("Contracts");
}

QStringList listedKeys() {
    QStringList keys;
    for (int r = 1; r < MF->Grid_doc->rowCount(); ++r) keys << MF->Grid_doc->cell(0, r);
    return keys;
}

void type(QWidget* w, const QString& text) {
    for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

}  // namespace

class TestJournal : public QObject {
    Q_OBJECT
    QTemporaryDir* dir = nullptr;

    QWidget* boxEdit(widgets::UpperCombo* box) { return box->lineEdit(); }

private slots:
    void init() {
        dir = new QTemporaryDir;
        widgets::Activation::instance().reset();
        program::createForms();
        MF->FirstActivation = false;
        support::connectDataModule(support::makeDatabase(*dir));
        MF->show();
    }
    void cleanup() {
        if (CF && CF->isVisible()) CF->hide();
        program::destroyForms();
        delete dir;
        dir = nullptr;
    }

    void emptyDatabaseShowsOneBlankRowAndActionsDoNothing() {
        widgets::MessageRecorder rec(true);
        MF->FormActivate();
        QCOMPARE(MF->Grid_doc->rowCount(), 2);
        for (int c = 0; c < 8; ++c) QCOMPARE(MF->Grid_doc->cell(c, 1), QString());
        QCOMPARE(MF->Grid_doc->cell(1, 0), QString("  НОМЕР"));
        QCOMPARE(MF->Grid_doc->colWidth(0), 2);
        MF->ToolButton6Click();
        MF->ToolButton4Click();
        MF->ToolButton8Click();
        MF->N4Click();
        QVERIFY(!CF->isVisible());
        QVERIFY(MF->isEnabled());
        QVERIFY(!CF->EditDoc);
        QVERIFY(rec.isEmpty());  // not even the deletion question
        QCOMPARE(MF->Box10->currentText(), QString("ГОД"));
        // The focus is asked for whether or not the offscreen window is active.
        QCOMPARE(MF->focusWidget(), static_cast<QWidget*>(MF->Box1));
    }

    void cellTextsAndNullColumnsHideContracts() {
        const QDate today = QDate::currentDate();
        const int car = addCar("ВАЗ", "2107", "А123ВС");
        const int shown = addContract(car, today, "СИДОРОВ");
        // A null in any filtered column keeps the car's contracts out of the journal.
        for (const QString col : {"dev", "mod", "gnum", "region", "vin", "engine", "body", "engine2", "body2"})
            addContract(addCar("ВАЗ", "2110", "Б" + col, col), today);
        MF->FormActivate();
        QCOMPARE(listedKeys(), QStringList({QString::number(shown)}));
        const QString num = support::scalar("SELECT num FROM Contracts WHERE pk_id = " + QString::number(shown));
        QCOMPARE(MF->Grid_doc->cell(1, 1), "  " + num);
        QCOMPARE(MF->Grid_doc->cell(2, 1), "  " + rtl::DateToStr(today));
        QCOMPARE(MF->Grid_doc->cell(3, 1), QString("  ВАЗ - 2107"));
        QCOMPARE(MF->Grid_doc->cell(4, 1), QString("  А123ВС 77"));
        QCOMPARE(MF->Grid_doc->cell(5, 1), QString("  ПЕТРОВ П.П."));
        QCOMPARE(MF->Grid_doc->cell(6, 1), QString("  111"));
        QCOMPARE(MF->Grid_doc->cell(7, 1), QString("  СИДОРОВ"));
    }

    void prefixFiltersAndTheModelList() {
        const QDate today = QDate::currentDate();
        support::exec("INSERT INTO dev (name) VALUES ('ВАЗ')");
        support::exec("INSERT INTO dev (name) VALUES ('ВОЛГА')");
        const QString vaz = support::scalar("SELECT pk_id FROM dev WHERE name = 'ВАЗ'");
        support::exec("INSERT INTO models (name, dv_fk) VALUES ('2107', " + vaz + ")");
        const int a = addContract(addCar("ВАЗ", "2107", "А1"), today);
        const int b = addContract(addCar("ВОЛГА", "3110", "А2"), today);
        const int c = addContract(addCar("KIA", "RIO", "Х3"), today);
        MF->FormActivate();
        QCOMPARE(listedKeys().size(), 3);
        // Typing is upper-cased and matched as a prefix, keystroke by keystroke.
        MF->Box1->setFocus();
        type(boxEdit(MF->Box1), "в");
        QCOMPARE(MF->Box1->text(), QString("В"));
        QCOMPARE(listedKeys(), QStringList({QString::number(a), QString::number(b)}));
        QVERIFY(MF->Box2->items().isEmpty());  // no make is named exactly "В"
        type(boxEdit(MF->Box1), "аз");
        QCOMPARE(listedKeys(), QStringList({QString::number(a)}));
        QCOMPARE(MF->Box2->items(), QStringList({"2107"}));
        // Registration number prefix on top.
        type(boxEdit(MF->Box3), "Х");
        QCOMPARE(listedKeys(), QStringList({QString()}));
        // Clearing the filters lists everything again and keeps the period.
        MF->Box10->setCurrentIndex(kPeriodAll);
        QTest::mouseClick(MF->BitBtn1, Qt::LeftButton);
        QCOMPARE(MF->Box1->text(), QString());
        QCOMPARE(MF->Box3->text(), QString());
        QCOMPARE(MF->Box10->currentIndex(), int(kPeriodAll));
        QCOMPARE(listedKeys().size(), 3);
        Q_UNUSED(c);
        // A filter typed to the full width of its column still works.
        QCOMPARE(MF->Box3->maxLength(), 15);
        MF->Box3->setText("А2" + QString(13, u'Я'));
        MF->RefillJournal();
        QCOMPARE(listedKeys(), QStringList({QString()}));
        MF->Box3->setText("А2");
        MF->RefillJournal();
        QCOMPARE(listedKeys(), QStringList({QString::number(b)}));
    }

    void periods() {
        const QDate today = QDate::currentDate();
        const int car = addCar("ВАЗ", "2107");
        const int d10 = addContract(car, today.addDays(-10));
        const int d11 = addContract(car, today.addDays(-11));
        const int d30 = addContract(car, today.addDays(-30));
        const int old = addContract(car, QDate(1995, 5, 5));
        const int far = addContract(car, QDate(2999, 1, 1));
        const int now = addContract(car, today);
        auto listed = [](int key) { return listedKeys().contains(QString::number(key)); };
        MF->FormActivate();
        MF->Box10->setCurrentIndex(kPeriod10Days);
        MF->RefillJournal();
        QVERIFY(listed(now) && listed(d10));
        QVERIFY(!listed(d11) && !listed(d30));
        MF->Box10->setCurrentIndex(kPeriod30Days);
        MF->RefillJournal();
        QVERIFY(listed(d11) && listed(d30) && !listed(old));
        MF->Box10->setCurrentIndex(kPeriodYear);
        MF->RefillJournal();
        for (int k : {d10, d11, d30})
            QCOMPARE(listed(k), QDate(today.addDays(k == d10 ? -10 : k == d11 ? -11 : -30)).year() == today.year());
        QVERIFY(listed(now) && !listed(old) && !listed(far));
        MF->Box10->setCurrentIndex(kPeriodAll);
        MF->RefillJournal();
        QVERIFY(listed(old) && listed(far) && listed(now));
        // Journal order is by number.
        QStringList keys = listedKeys();
        QCOMPARE(keys.first(), QString::number(d10));
    }

    void periodTable() {
        const JournalPeriod feb = journalPeriod(kPeriodMonth, QDate(2024, 2, 10));
        QCOMPARE(feb.d1, QDate(2024, 2, 1));
        QCOMPARE(feb.d2, QDate(2024, 2, 29));
        QCOMPARE(journalPeriod(kPeriodMonth, QDate(2025, 2, 10)).d2, QDate(2025, 2, 28));
        const JournalPeriod year = journalPeriod(kPeriodYear, QDate(2026, 7, 1));
        QCOMPARE(year.d1, QDate(2026, 1, 1));
        QCOMPARE(year.d2, QDate(2026, 12, 31));
        QCOMPARE(journalPeriod(kPeriod10Days, QDate(2026, 3, 5)).d1, QDate(2026, 2, 23));
        QCOMPARE(journalPeriod(kPeriodAll, QDate(2026, 3, 5)).d2, QDate(3000, 12, 31));
    }

    void openingTheEditor() {
        const int key = addContract(addCar("ВАЗ", "2107"), QDate::currentDate());
        const QString num = support::scalar("SELECT num FROM Contracts WHERE pk_id = " + QString::number(key));
        MF->FormActivate();
        MF->Grid_doc->setFocus();
        // Alt+F4 keeps its usual meaning: no editor.
        QTest::keyClick(MF->Grid_doc, Qt::Key_F4, Qt::AltModifier);
        QVERIFY(!CF->isVisible());
        QVERIFY(!CF->EditDoc);
        // Enter views, with the number (two leading blanks) in the caption.
        QTest::keyClick(MF->Grid_doc, Qt::Key_Return);
        QVERIFY(CF->isVisible());
        QCOMPARE(CF->windowTitle(), "Просмотр записи №  " + num);
        QVERIFY(!MF->isEnabled());
        QVERIFY(!CF->NewDoc && !CF->EditDoc);
        CF->hide();
        QVERIFY(MF->isEnabled());
        // F4 (also with Shift+Alt) edits, with the key in the caption.
        QTest::keyClick(MF->Grid_doc, Qt::Key_F4, Qt::ShiftModifier | Qt::AltModifier);
        QVERIFY(CF->isVisible());
        QCOMPARE(CF->windowTitle(), "Редактирование записи №" + QString::number(key));
        QVERIFY(CF->EditDoc);
        CF->hide();
        // Coming back clears the flags.
        QVERIFY(!CF->EditDoc);
        MF->ToolButton2Click();
        QCOMPARE(CF->windowTitle(), QString("* Новая запись "));
        QVERIFY(CF->NewDoc);
        CF->hide();
        QVERIFY(!CF->NewDoc);
    }

    void deletion() {
        const int car = addCar("ВАЗ", "2107");
        const int key = addContract(car, QDate::currentDate());
        const int other = addContract(car, QDate::currentDate());
        for (const char* t : {"CT_Works (ct_fk, name, price) VALUES (%1, 'Р', 1)",
                              "CT_Spares (ct_fk, name, price, num) VALUES (%1, 'З', 1, 2)"}) {
            support::exec(QString("INSERT INTO ") + QString(t).arg(key));
            support::exec(QString("INSERT INTO ") + QString(t).arg(other));
        }
        MF->FormActivate();
        MF->Grid_doc->setCurrentRow(1);
        {
            widgets::MessageRecorder rec(false);
            MF->N4Click();
            QCOMPARE(rec.count(), 1);
            QCOMPARE(rec.lastCaption(), QString("Удаление"));
            QCOMPARE(rec.lastText(), QString("Внимание! Запись будет удалена, продолжить ?"));
        }
        QVERIFY(MF->isEnabled());
        QCOMPARE(listedKeys().size(), 2);
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM CT_Works"), QString("2"));
        {
            widgets::MessageRecorder rec(true);
            MF->Grid_doc->setCurrentRow(1);
            MF->N4Click();
        }
        QVERIFY(MF->isEnabled());
        QCOMPARE(listedKeys(), QStringList({QString::number(other)}));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM Contracts WHERE pk_id = " + QString::number(key)), QString("0"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM CT_Works WHERE ct_fk = " + QString::number(key)), QString("0"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM CT_Spares WHERE ct_fk = " + QString::number(key)), QString("0"));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM CT_Spares WHERE ct_fk = " + QString::number(other)), QString("1"));
    }

    void menuAndToolBar() {
        QCOMPARE(MF->ToolButton2->toolTip(), QString("Регистрация документа"));
        QCOMPARE(MF->ToolButton8->toolTip(), QString("Печать карточки документа"));
        QCOMPARE(MF->ToolButton32->toolTip(), QString("Справочник марок / моделей машин"));
        QCOMPARE(MF->N11111->text(), QString("Выйти из программы"));
        QCOMPARE(MF->N19->text(), QString("О программе..."));
        QCOMPARE(MF->SBarPanels[1]->text(), QString("   Enter - просмотр документа"));
        QCOMPARE(MF->SBarPanels[2]->text(), QString("    F4 - редактирование"));
        QCOMPARE(MF->Box10->items(), QStringList({"10 ДНЕЙ", "30 ДНЕЙ", "МЕСЯЦ", "ГОД", "ВСЕ"}));
        // The web site goes to the desktop; a failure stays silent.
        QStringList opened;
        widgets::setLinkOpener([&](const QString& a) {
            opened << a;
            return false;
        });
        widgets::MessageRecorder rec;
        MF->WEB1->trigger();
        widgets::setLinkOpener({});
        QCOMPARE(opened, QStringList({TMF::siteAddress()}));
        QVERIFY(rec.isEmpty());
    }
};

TORQUIL_TEST_MAIN(TestJournal)
#include "tst_journal.moc"
