// The owner's reports over generated data: each mechanic's pay and the
// months' revenue against sums made here line by line, their printouts, the
// share's field of the mechanics window and torquil-db's report.
#include "app/DM.h"
#include "app/LineMoney.h"
#include "app/MechanicRate.h"
#include "app/MechanicPay.h"
#include "app/OwnerSchema.h"
#include "app/Revenue.h"
#include "catalogues/MH.h"
#include "print/Render.h"
#include "program/Windows.h"
#include "reports/MW.h"
#include "reports/RV.h"
#include "rtl/Convert.h"
#include "support/Handlers.h"
#include "support/Pdf.h"
#include "support/TestDb.h"
#include "widgets/BarChart.h"
#include "widgets/DateEdit.h"
#include "widgets/LineEdit.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"

#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What the test wrote, summed here one line at a time.
struct Expected {
    int contracts = 0;
    rtl::Money labour, parts;
};

const QDate kFrom(2026, 3, 1), kTo(2026, 3, 31);

}  // namespace

class TestOwner : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;
    // Payments come with step 2: made here when this database has no table yet.
    QMap<QString, Expected> byName;   // the contracts of kFrom..kTo by mechanic
    QMap<int, Expected> byMonth;      // yyyymm, the twelve months up to kTo
    QMap<int, rtl::Money> paidByMonth;
    QMap<QString, rtl::Money> works;  // the twelve months' work lines by name

    void addContract(QRandomGenerator& rng, const QString& mechanic, const QDate& date, int worksCount, int spares) {
        support::exec(QStringLiteral("INSERT INTO Contracts (c_date, meh, cr_fk) VALUES ('%1', '%2', %3)")
                          .arg(date.toString(Qt::ISODate), mechanic)
                          .arg(support::lastKey("Cars")));
        const int key = support::lastKey("Contracts");
        Expected e;
        e.contracts = 1;
        for (int i = 0; i < worksCount; ++i) {
            const double price = double(rng.bounded(1, 500000)) / 100;  // kopecks
            const QString name = QStringLiteral("РАБОТА %1").arg(rng.bounded(1, 15));
            support::exec(QStringLiteral("INSERT INTO CT_Works (ct_fk, name, price) VALUES (%1, '%2', %3)")
                              .arg(key).arg(name).arg(price, 0, 'f', 2));
            e.labour += rtl::Money::fromDouble(price);
            if (date.addMonths(12) > kTo) works[name] += rtl::Money::fromDouble(price);
        }
        for (int i = 0; i < spares; ++i) {
            const double price = i == 0 ? 0.125 : double(rng.bounded(1, 3000000)) / 10000;
            const int num = rng.bounded(1, 7);
            support::exec(QStringLiteral("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (%1, 'ДЕТАЛЬ', %2, %3)")
                              .arg(key).arg(price, 0, 'f', 4).arg(num));
            e.parts += rtl::Money::times(price, num);
        }
        if (date >= kFrom && date <= kTo) {
            Expected& n = byName[mechanic];
            n.contracts += 1, n.labour += e.labour, n.parts += e.parts;
        }
        Expected& m = byMonth[date.year() * 100 + date.month()];
        m.contracts += 1, m.labour += e.labour, m.parts += e.parts;
    }

    void pay(const QDate& date, const char* amount, const QString& method) {
        support::exec(QStringLiteral("INSERT INTO Payments (ct_fk, p_date, amount, method) VALUES (%1, '%2', %3, '%4')")
                          .arg(support::lastKey("Contracts"))
                          .arg(date.toString(Qt::ISODate), QString::fromLatin1(amount), method));
        const rtl::Money m = rtl::Money::fromDouble(QString::fromLatin1(amount).toDouble());
        paidByMonth[date.year() * 100 + date.month()] += method == QStringLiteral("ВОЗВРАТ") ? rtl::Money::fromUnits(-m.units()) : m;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        path = support::openWindows(dir);
        QVERIFY(app::hasMechanicRates());
        if (support::count("RDB$RELATIONS", "RDB$RELATION_NAME = 'PAYMENTS'") == 0) {
            support::exec("CREATE TABLE Payments (pk_id INTEGER, ct_fk INTEGER, p_date DATE, "
                          "amount NUMERIC(18,2), method VARCHAR(30))");
            support::dropDataModule();  // the new table is seen from the next attachment
            support::connectDataModule(path);
        }
        support::exec("INSERT INTO Cars (dev, mod, gnum, owner) VALUES ('ВАЗ', '2107', 'А001АА', 'ОРЛОВ')");
        support::exec("INSERT INTO meh (name, rate) VALUES ('ИВАНОВ', 40)");
        support::exec("INSERT INTO meh (name, rate) VALUES ('ПЕТРОВ', 12)");
        support::exec("INSERT INTO meh (name) VALUES ('СИДОРОВ')");  // no share
        QRandomGenerator rng(28);
        // "СТАРЫЙ" was renamed since: his contracts keep the name, without a share.
        const QStringList names = {"ИВАНОВ", "ПЕТРОВ", "СИДОРОВ", "СТАРЫЙ"};
        for (int i = 0; i < 60; ++i)
            addContract(rng, names[i % 4], kTo.addDays(-rng.bounded(0, 400)), rng.bounded(0, 4), rng.bounded(0, 3));
        addContract(rng, "ИВАНОВ", kFrom, 0, 0);  // a contract without lines
        int n = 0;
        for (const QDate d : {QDate(2026, 3, 5), QDate(2026, 1, 20), QDate(2025, 5, 31)}) {
            pay(d, "1500.50", "НАЛИЧНЫЕ");
            pay(d, n++ ? "99.99" : "200.10", "ВОЗВРАТ");
        }
        pay(QDate(2025, 3, 31), "7000", "НАЛИЧНЫЕ");  // before the twelve months
    }
    void cleanupTestCase() { program::destroyForms(); }

    // The share's text and its rounding: half a ten-thousandth goes to the even one.
    void shareArithmetic() {
        QCOMPARE(app::parseRate("12.5"), std::optional<int>(1250));
        QCOMPARE(app::parseRate("100"), std::optional<int>(10000));
        QCOMPARE(app::parseRate(" 0,05 "), std::optional<int>(5));
        QVERIFY(!app::parseRate(""));
        QCOMPARE(app::rateText(1250), QString("12,5"));
        QCOMPARE(app::shareOf(rtl::Money::fromUnits(1), 5000).units(), qint64(0));
        QCOMPARE(app::shareOf(rtl::Money::fromUnits(3), 5000).units(), qint64(2));
        QCOMPARE(app::shareOf(rtl::Money::fromUnits(-3), 5000).units(), qint64(-2));
        app::MonthFigures m;
        m.contracts = 3;
        m.labour = rtl::Money::fromUnits(1000000);  // 100,00 / 3
        QCOMPARE(m.average().toString(), QString("33,33"));
    }

    void payAgainstLines() {
        const app::MechanicPay p = app::mechanicPay(DM->IBDbase, DM->IBTrans, kFrom, kTo, true);
        QCOMPARE(int(p.rows.size()), byName.size());
        const QMap<QString, int> rates = {{"ИВАНОВ", 4000}, {"ПЕТРОВ", 1200}};
        rtl::Money labour, parts, pay;
        int i = 0, contracts = 0;
        for (auto it = byName.begin(); it != byName.end(); ++it, ++i) {
            const app::MechanicPayRow& row = p.rows[size_t(i)];
            QCOMPARE(row.name, it.key());
            QCOMPARE(row.contracts, it->contracts);
            QCOMPARE(row.labour.units(), it->labour.units());
            QCOMPARE(row.parts.units(), it->parts.units());
            QCOMPARE(row.rate.has_value(), rates.contains(it.key()));
            // Labour in kopecks times a whole percent: exact.
            const rtl::Money expected = rtl::Money::fromUnits(it->labour.units() * rates.value(it.key()) / 10000);
            QCOMPARE(row.pay.units(), expected.units());
            labour += it->labour, parts += it->parts, pay += expected, contracts += it->contracts;
        }
        QCOMPARE(p.totals.labour.units(), labour.units());
        QCOMPARE(p.totals.parts.units(), parts.units());
        QCOMPARE(p.totals.pay.units(), pay.units());
        QCOMPARE(p.totals.contracts, contracts);

        // The window: the rows, then a mechanic's contracts.
        MW->DateFrom->setText(rtl::DateToStr(kFrom));
        MW->DateTo->setText(rtl::DateToStr(kTo));
        MW->BitBtn1Click();
        QCOMPARE(MW->Grid_pay->rowCount(), int(p.rows.size()) + 2);
        QCOMPARE(MW->Grid_pay->cell(0, MW->Grid_pay->rowCount() - 1), QString("ИТОГО"));
        MW->Grid_pay->setCurrentRow(1);
        MW->Grid_payEnter();
        QCOMPARE(int(MW->Contracts.size()), p.rows[0].contracts);
        rtl::Money sum;
        for (const app::MechanicContract& c : MW->Contracts) sum += c.labour;
        QCOMPARE(sum.units(), p.rows[0].labour.units());
        MW->Grid_ct->setCurrentRow(1);
        MW->Grid_ctEnter();
        QCOMPARE(MW->ChosenKey, MW->Contracts[0].key);
    }

    // The current month when the window opens; the chosen period stays when
    // it is activated again (after its print preview).
    void periodPerOpening() {
        MW->show();
        MW->FormActivate();
        const QDate today = QDate::currentDate();
        QCOMPARE(MW->From, QDate(today.year(), today.month(), 1));
        MW->DateFrom->setText(rtl::DateToStr(kFrom));
        MW->DateTo->setText(rtl::DateToStr(kTo));
        MW->BitBtn1Click();
        MW->FormActivate();
        QCOMPARE(MW->From, kFrom);
        MW->hide();
    }

    void revenueAgainstLines() {
        RV->DateTo->setText(rtl::DateToStr(kTo));
        RV->BitBtn1Click();
        const app::Revenue& r = RV->Figures;
        QCOMPARE(int(r.months.size()), 12);
        QCOMPARE(r.from(), QDate(2025, 4, 1));
        const std::vector<widgets::ChartBar>& bars = RV->Chart->bars();
        QCOMPARE(int(bars.size()), 12);
        for (size_t i = 0; i < 12; ++i) {
            const app::MonthFigures& m = r.months[i];
            const int key = m.month.year() * 100 + m.month.month();
            QCOMPARE(m.contracts, byMonth.value(key).contracts);
            QCOMPARE(m.labour.units(), byMonth.value(key).labour.units());
            QCOMPARE(m.parts.units(), byMonth.value(key).parts.units());
            QCOMPARE(m.paid.units(), paidByMonth.value(key).units());
            // The chart draws the same figures.
            QCOMPARE(bars[i].lower.units(), m.labour.units());
            QCOMPARE(bars[i].upper.units(), m.parts.units());
            QCOMPARE(bars[i].line.units(), m.paid.units());
        }
        QCOMPARE(r.months.back().paid.toString(), QString("1300,4"));  // 1500,50 less the refund 200,10
        QVERIFY(RV->Chart->lineShown());
        QVERIFY(!r.topWorks.empty());
        rtl::Money best;
        for (const rtl::Money& w : works) best = w.units() > best.units() ? w : best;
        QCOMPARE(r.topWorks[0].amount.units(), best.units());
        QCOMPARE(r.months.back().average().units() % 100, qint64(0));  // to the kopeck
    }

    void printouts() {
        if (!support::havePdfTools()) QSKIP("poppler-utils missing");
        const QString pdf = dir.filePath("pay.pdf");
        print::writePdf(MW->PrintDocument(), pdf);
        const QString text = support::pdfPages(pdf).join('\n');
        QVERIFY(text.contains("Выработка механиков"));
        QVERIFY(text.contains("период с 01.03.2026 по 31.03.2026"));
        QVERIFY(text.contains("СТАРЫЙ"));
        QVERIFY(text.contains(MW->Pay.totals.pay.toString()));
        const QString chart = dir.filePath("revenue.pdf");
        print::writePdf(RV->PrintDocument(), chart);
        const QString t2 = support::pdfPages(chart).join('\n');
        QVERIFY(t2.contains("с 01.04.2025 по 31.03.2026"));
        QVERIFY(t2.contains(RV->Figures.months.back().total().toString()));
        QVERIFY(t2.contains(RV->Figures.topWorks[0].name));
        const QString png = dir.filePath("revenue.png");
        RV->SavePng(png);
        QCOMPARE(QImage(png).size(), QSize(1200, 480));
    }

    // A share outside 0-100 or not a number: refused naming the field; nothing written.
    void badInput() {
        MH->FormActivate();
        const int before = support::count("meh");
        MH->ToolButton2Click();
        MH->Edit1->setText("НОВИКОВ");
        for (const char* bad : {"abc", "100,01", "-1", "12,345"}) {
            MH->EditRate->setText(QString::fromLatin1(bad));
            QVERIFY(support::errorOf([] { MH->ToolButton8Click(); }).contains("СТАВКА, %"));
            QCOMPARE(support::count("meh"), before);
        }
        MH->EditRate->setText("37,5");
        MH->ToolButton8Click();
        QCOMPARE(support::scalar("SELECT CAST(rate * 100 AS INTEGER) FROM meh WHERE name = 'НОВИКОВ'"), QString("3750"));

        // A period whose end is before its start changes nothing.
        const app::MechanicPay shown = MW->Pay;
        MW->DateFrom->setText("01.04.2026");
        MW->DateTo->setText("31.03.2026");
        QVERIFY(support::errorOf([] { MW->BitBtn1Click(); }).contains("раньше"));
        QCOMPARE(MW->Pay.rows.size(), shown.rows.size());
    }

    // A database before the steps: no share field or column, nobody has a
    // share, no paid line; the rest works.
    void olderDatabase() {
        const int version = app::databaseSchema();
        app::setDatabaseSchema(1);
        MH->FormActivate();
        QVERIFY(MH->EditRate->isHidden());
        QCOMPARE(MH->Grid_meh->colCount(), 2);
        const int before = support::count("meh");
        MH->ToolButton2Click();
        MH->Edit1->setText("ЗАЙЦЕВ");
        MH->ToolButton8Click();
        QCOMPARE(support::count("meh"), before + 1);
        MW->DateFrom->setText(rtl::DateToStr(kFrom));
        MW->DateTo->setText(rtl::DateToStr(kTo));
        MW->BitBtn1Click();
        for (const app::MechanicPayRow& row : MW->Pay.rows) QVERIFY(!row.rate && row.pay.units() == 0);
        RV->BitBtn1Click();
        QVERIFY(!RV->Figures.withPaid && !RV->Chart->lineShown());
        app::setDatabaseSchema(version);
    }

    // torquil-db prints the window's rows (after the program lets the file go).
    void commandLine() {
        const QStringList expected = {QStringLiteral("СТАРЫЙ;%1;%2;%3;;0").arg(byName["СТАРЫЙ"].contracts)
                                          .arg(byName["СТАРЫЙ"].labour.toString(), byName["СТАРЫЙ"].parts.toString())};
        support::dropDataModule();
        QProcess p;
        p.start(TORQUIL_BINARY_DIR "/torquil-db",
                {"report", "mechanics", path, "--from", "01.03.2026", "--to", "31.03.2026", "--csv"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.contains(expected[0]), qPrintable(out));
        QVERIFY(out.startsWith("Механик;Договоров;Работы;Запчасти;Ставка, %;К выплате"));
        p.start(TORQUIL_BINARY_DIR "/torquil-db", {"report", "mechanics", path, "--from", "02.03.2026", "--to", "01.03.2026"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
    }
};

QTEST_MAIN(TestOwner)
#include "tst_owner.moc"
