// The summary window and its build: the period choices, the rows read back
// from the written file, fixed-point amounts, no file for an empty period.
#include "app/ShopDetails.h"
#include "print/Render.h"
#include "reports/SummaryPrint.h"
#include "support/Pdf.h"
#include "app/WindowFlow.h"
#include "office/Workbook.h"
#include "widgets/RadioGroup.h"
#include "reports/SV.h"
#include "reports/SummaryBuild.h"
#include "rtl/Convert.h"
#include "support/TestMain.h"
#include "tst_reports_util.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"
#include "widgets/UpperCombo.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>

using namespace reportstest;
using office::Workbook;

namespace {

QString cell(char column, int row) { return QChar::fromLatin1(column) + QString::number(row); }
std::optional<double> num(double v) { return v; }

}  // namespace

class TestSummary : public QObject {
    Q_OBJECT
    Fixture fx;

    // The numbers in column A from row 7 down to the first empty one.
    static QList<int> listed(const Workbook& b) {
        QList<int> out;
        for (int r = 7; b.cellNumber(cell('A', r)); ++r) out << int(*b.cellNumber(cell('A', r)));
        return out;
    }

    // Activates the window, lets `setup` set the fields, and builds.
    void build(const std::function<void()>& setup = {}) {
        SV->FormActivate();
        if (setup) setup();
        SV->BitBtn1Click();
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void activationPreparesADayOfToday() {
        const QDate today = QDate::currentDate();
        SV->RG1->setItemIndex(TSV::Year);
        SV->FormActivate();
        QCOMPARE(SV->RG1->itemIndex(), int(TSV::Day));
        QCOMPARE(SV->MEdit1->text(), rtl::DateToStr(today));
        QCOMPARE(SV->Box1->currentIndex(), today.month() - 1);
        QCOMPARE(SV->Box1->items().size(), 12);
        QCOMPARE(SV->Box1->items().first(), QString("ЯНВАРЬ"));
        QCOMPARE(SV->Edit1->text(), QString::number(today.year()));
        QCOMPARE(SV->MEdit2->text(), rtl::DateToStr(today.addDays(-7)));
        QCOMPARE(SV->MEdit3->text(), rtl::DateToStr(today));
        QCOMPARE(SV->d1, today);
        QCOMPARE(SV->d2, today);
        QCOMPARE(SV->text, rtl::DateToStr(today));
        QVERIFY(SV->MEdit1->isEnabled());
        for (QWidget* w : std::initializer_list<QWidget*>{SV->MEdit2, SV->MEdit3, SV->Edit1, SV->Box1})
            QVERIFY(!w->isEnabled());
        // Choosing the period enables its two dates only.
        SV->RG1->setItemIndex(TSV::Period);
        SV->RG1Click();
        QVERIFY(SV->MEdit2->isEnabled() && SV->MEdit3->isEnabled());
        QVERIFY(!SV->MEdit1->isEnabled() && !SV->Box1->isEnabled() && !SV->Edit1->isEnabled());
        QCOMPARE(SV->d1, today.addDays(-7));
        QCOMPARE(SV->text, "период с " + rtl::DateToStr(today.addDays(-7)) + " по " + rtl::DateToStr(today) + " г.");
    }

    void threeContractsFillRowsSevenToNineAndTheTotal() {
        const QDate day(2024, 5, 14);
        const QString car1 = addCar("ВАЗ", "2107", "ИВАНОВ И.И.", "111");
        const QString car2 = addCar("KIA", "RIO", "ПЕТРОВА А.А.", "222");
        const QString a = addContract(car1, day, 12);
        const QString b = addContract(car2, day, 3);
        addContract(car1, day, 7);  // no lines: amount 0, still listed
        addWork(a, "ЗАМЕНА МАСЛА", "1500.5");
        addSpare(a, "МАСЛО", "450.25", 4);
        addWork(b, "ДИАГНОСТИКА", "800");
        app::ShopDetails shop;
        shop.name = "ИП СИДОРОВ";
        app::storeShopDetails(shop);
        build([&] { SV->MEdit1->setText(rtl::DateToStr(day)); });
        app::storeShopDetails({});

        QCOMPARE(fx.viewer.shown.size(), 1);
        const Workbook s(fx.viewer.shown.first());
        QCOMPARE(s.cellText("A4"), rtl::DateToStr(day));
        QCOMPARE(s.cellText("A1"), QString("ИП СИДОРОВ"));
        QCOMPARE(listed(s), QList<int>({3, 7, 12}));  // in number order
        QCOMPARE(s.cellText("B7"), rtl::DateToStr(day));
        QCOMPARE(s.cellText("C7"), QString("KIA RIO"));
        QCOMPARE(s.cellText("D7"), QString("ПЕТРОВА А.А."));
        QCOMPARE(s.cellText("E7"), QString("222"));
        QCOMPARE(s.cellNumber("F7"), num(800));
        QCOMPARE(s.cellText("C8"), QString("ВАЗ 2107"));
        QCOMPARE(s.cellNumber("F8"), num(0));
        QCOMPARE(s.cellText("D9"), QString("ИВАНОВ И.И."));
        QCOMPARE(s.cellNumber("F9"), num(3301.5));
        QCOMPARE(s.cellText("E10"), QString("ИТОГО"));
        QCOMPARE(s.cellNumber("F10"), num(4101.5));
        QVERIFY(!s.cellNumber("A10"));
        QCOMPARE(s.cellText("E11"), QString());
        QVERIFY(!s.cellNumber("F11"));
        // Lines gave rows 7 to 9 the sample row's styles, and no more.
        for (char c = 'A'; c <= 'F'; ++c) {
            QCOMPARE(s.cellStyle(cell(c, 7)), s.cellStyle(cell(c, 5)));
            QCOMPARE(s.cellStyle(cell(c, 9)), s.cellStyle(cell(c, 5)));
            QVERIFY(s.cellHasBorder(cell(c, 9)));
            QVERIFY(!s.cellHasBorder(cell(c, 10)));
        }
        // The template itself is not saved; the window closed.
        QCOMPARE(Workbook(fx.formPath("svod.xlsx")).cellText("A4"), QString());
        QVERIFY(!SV->isVisible());
        QCOMPARE(SV->result(), int(QDialog::Accepted));

        // The same rows printed by the program, with paid and due.
        support::exec(QString("INSERT INTO Payments (ct_fk, p_date, amount, method) VALUES (%1, '2024-05-14', 1000, 'КАРТА')").arg(a));
        const QString pdf = fx.outDir() + "/svod.pdf";
        print::writePdf(reports::SummaryDocument({true, day, day, rtl::DateToStr(day)}), pdf);
        const QString printed = support::pdfPages(pdf).join('\n').simplified();
        for (const QString& text : {QString("Итоговый свод договоров"), rtl::DateToStr(day) + " KIA RIO ПЕТРОВА А.А. 222 800 0 800",
                                    QString("ИВАНОВ И.И. 111 3301,5 1000 2301,5"), QString("ИТОГО 4101,5 1000 3101,5")})
            QVERIFY2(printed.contains(text), qPrintable(text + " in " + printed));
    }

    void dayIsOneDateAndThePeriodIncludesItsEnds() {
        const QDate day(2024, 5, 14);
        const QString car = addCar("ВАЗ", "2107");
        addContract(car, day.addDays(-1), 1);
        addContract(car, day, 2);
        addContract(car, day.addDays(1), 3);
        addContract(car, day.addDays(2), 4);
        build([&] { SV->MEdit1->setText(rtl::DateToStr(day)); });
        QCOMPARE(listed(Workbook(fx.viewer.shown.last())), QList<int>({2}));
        build([&] {
            SV->RG1->setItemIndex(TSV::Period);
            SV->MEdit2->setText(rtl::DateToStr(day.addDays(-1)));
            SV->MEdit3->setText(rtl::DateToStr(day.addDays(1)));
        });
        const Workbook p(fx.viewer.shown.last());
        QCOMPARE(listed(p), QList<int>({1, 2, 3}));
        QCOMPARE(p.cellText("A4"), QString("период с 13.05.2024 по 15.05.2024 г."));
    }

    void monthIsAlwaysOfTheCurrentYear() {
        const int year = QDate::currentDate().year();
        const QDate first(year, 2, 1), lastDay(year, 2, QDate(year, 2, 1).daysInMonth());
        const QString car = addCar("ВАЗ", "2107");
        addContract(car, first.addDays(-1), 1);
        addContract(car, first, 2);
        addContract(car, lastDay, 3);
        addContract(car, lastDay.addDays(1), 4);
        addContract(car, QDate(2013, 2, 10), 5);
        build([&] {
            SV->RG1->setItemIndex(TSV::Month);
            SV->Box1->setCurrentIndex(1);
            SV->Edit1->setText("2013");  // ignored for a month
        });
        QCOMPARE(SV->d1, first);
        QCOMPARE(SV->d2, lastDay);
        const Workbook s(fx.viewer.shown.last());
        QCOMPARE(listed(s), QList<int>({2, 3}));
        QCOMPARE(s.cellText("A4"), QString("ФЕВРАЛЬ %1 г.").arg(year));
    }

    void year2013CoversTheWholeYear() {
        const QString car = addCar("ВАЗ", "2107");
        addContract(car, QDate(2012, 12, 31), 1);
        addContract(car, QDate(2013, 1, 1), 2);
        addContract(car, QDate(2013, 12, 31), 3);
        addContract(car, QDate(2014, 1, 1), 4);
        build([&] {
            SV->RG1->setItemIndex(TSV::Year);
            SV->Edit1->setText("2013");
        });
        QCOMPARE(SV->d1, QDate(2013, 1, 1));
        QCOMPARE(SV->d2, QDate(2013, 12, 31));
        const Workbook s(fx.viewer.shown.last());
        QCOMPARE(listed(s), QList<int>({2, 3}));
        QCOMPARE(s.cellText("A4"), QString("2013 г."));
    }

    void amountsAreAddedInFixedPoint() {
        const QDate day(2024, 5, 14);
        const QString car = addCar("ВАЗ", "2107");
        const QString a = addContract(car, day, 1);
        addSpare(a, "ШАЙБА", "0.125", 3);
        const QString b = addContract(car, day, 2);
        for (int i = 0; i < 3; ++i) addWork(b, "ПОДТЯЖКА", "0.1");  // 0.1 + 0.1 + 0.1 in double is not 0.3
        QCOMPARE(reports::ContractAmount(a), rtl::Money::fromUnits(3750));
        QCOMPARE(reports::ContractAmount(b), rtl::Money::fromUnits(3000));
        build([&] { SV->MEdit1->setText(rtl::DateToStr(day)); });
        const Workbook s(fx.viewer.shown.last());
        QCOMPARE(s.cellNumber("F7"), num(0.375));
        QCOMPARE(s.cellNumber("F8"), num(0.3));
        QCOMPARE(s.cellNumber("F9"), num(0.675));
        QCOMPARE(s.cellText("E9"), QString("ИТОГО"));
    }

    void noContractWritesNothing() {
        addContract(addCar("ВАЗ", "2107"), QDate(2024, 5, 14), 1);
        build([&] { SV->MEdit1->setText("15.05.2024"); });
        QVERIFY(fx.viewer.shown.isEmpty());
        QVERIFY(fx.written().isEmpty());
        QCOMPARE(SV->result(), int(QDialog::Accepted));
    }

    void aFieldWithoutADateStopsTheBuildAndClosesTheWindow() {
        addContract(addCar("ВАЗ", "2107"), QDate::currentDate(), 1);
        SV->FormActivate();
        SV->setResult(QDialog::Rejected);
        SV->MEdit1->clear();
        try {
            SV->BitBtn1Click();
            QFAIL("no conversion error");
        } catch (const rtl::ConvertError& e) {
            QCOMPARE(e.text(), QString("'  .  .    ' is not a valid date"));
        }
        QCOMPARE(SV->result(), int(QDialog::Accepted));
        QVERIFY(fx.viewer.shown.isEmpty());
        // A year that is no number.
        SV->RG1->setItemIndex(TSV::Year);
        SV->Edit1->setText("20X3");
        QVERIFY_THROWS_EXCEPTION(rtl::ConvertError, SV->RG1Click());
    }

    void theShownWindowBuildsFromItsButtonAndEnterMovesOn() {
        addContract(addCar("ВАЗ", "2107"), QDate::currentDate(), 1);
        MF->show();
        widgets::MessageRecorder rec;  // an error would otherwise wait for its box
        bool checked = false;
        // After the window's own activation, which openModal reports at once.
        QTimer::singleShot(20, [&] {
            const auto closeAnyway = qScopeGuard([] { if (SV->isVisible()) SV->reject(); });  // a failed check
            QWidget* modal = QApplication::activeModalWidget();
            QCOMPARE(modal, static_cast<QWidget*>(SV));
            QCOMPARE(SV->windowTitle(), QString("Итоговый свод"));
            QCOMPARE(SV->RG1->title(), QString("ПЕРИОД СВОДА"));
            SV->RG1->item(TSV::Period)->click();  // a click in RG1 runs RG1Click
            QVERIFY(SV->MEdit2->isEnabled() && !SV->MEdit1->isEnabled());
            QVERIFY(SV->MEdit2->hasFocus());
            QTest::keyClick(SV->MEdit2, Qt::Key_Return);
            QVERIFY(SV->MEdit3->hasFocus());
            QTest::keyClick(SV->MEdit3, Qt::Key_Return);
            QVERIFY(SV->BitBtn1->hasFocus());
            QVERIFY(SV->isVisible());  // Enter in a field builds nothing
            checked = true;
            SV->BitBtn1->click();
        });
        QCOMPARE(app::openModal(SV), int(QDialog::Accepted));
        QVERIFY(checked);
        QVERIFY(rec.isEmpty());
        QCOMPARE(fx.viewer.shown.size(), 1);
        QCOMPARE(listed(Workbook(fx.viewer.shown.first())), QList<int>({1}));

        // Escape in a field cancels, building nothing.
        QTimer::singleShot(20, [&] { QTest::keyClick(SV->MEdit1, Qt::Key_Escape); });
        QCOMPARE(app::openModal(SV), int(QDialog::Rejected));
        QCOMPARE(fx.viewer.shown.size(), 1);
    }
};

TORQUIL_TEST_MAIN(TestSummary)
#include "tst_summary.moc"
