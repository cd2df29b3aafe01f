// The payments of contracts: paid and due, the states, refunds, the checks
// before anything is written, several attachments, the debtors and the cash
// against sums made here, and the windows that show them.
#include "app/DM.h"
#include "app/PaymentReports.h"
#include "app/Login.h"
#include "app/Payments.h"
#include "app/RowGone.h"
#include "app/SchemaUpgrade.h"
#include "contracts/CF.h"
#include "contracts/CFPayments.h"
#include "contracts/MF.h"
#include "contracts/PY.h"
#include "fb/Query.h"
#include "program/Windows.h"
#include "reports/DL.h"
#include "reports/KS.h"
#include "rtl/Convert.h"
#include "support/Cars.h"
#include "support/Handlers.h"
#include "support/Modal.h"
#include "support/OtherAttachment.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "tools/PaymentReports.h"
#include "tools/Rng.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/LineEdit.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <map>
#include <thread>

namespace {

using rtl::Money;

// A contract of car `car` dated `date` with lines given in kopecks: works
// (price) and spares (price, quantity).
int addContract(int car, const QDate& date, std::initializer_list<qint64> works = {},
                std::initializer_list<std::pair<qint64, int>> spares = {}) {
    support::exec(QString("INSERT INTO Contracts (c_date, meh, cr_fk) VALUES ('%1', 'ИВАНОВ', %2)")
                      .arg(date.toString("yyyy-MM-dd"))
                      .arg(car));
    const int key = support::lastKey("Contracts");
    for (qint64 w : works)
        support::exec(QString("INSERT INTO CT_Works (ct_fk, name, price) VALUES (%1, 'Р', %2)").arg(key).arg(w / 100.0, 0, 'f', 2));
    for (auto [p, n] : spares)
        support::exec(QString("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (%1, 'З', %2, %3)")
                          .arg(key)
                          .arg(p / 100.0, 0, 'f', 2)
                          .arg(n));
    return key;
}

Money kop(qint64 k) { return Money::fromUnits(k * 100); }

int pay(int contract, const QString& amount, const QString& method = "НАЛИЧНЫЕ", const QDate& d = QDate::currentDate(),
        const QString& note = {}) {
    return app::addPayment(app::checkPayment(contract, amount, method, rtl::DateToStr(d), note));
}

QString state(int contract) { return app::payStateText(app::payState(app::totalOf(contract), app::paidOf(contract))); }

}  // namespace

class TestPayments : public QObject {
    Q_OBJECT
    QTemporaryDir* dir = nullptr;
    int car = 0;

private slots:
    void init() {
        dir = new QTemporaryDir;
        widgets::Activation::instance().reset();
        support::openWindows(*dir);
        car = support::addCar({{"owner", "ПЕТРОВ"}, {"phone", "111"}});
    }
    void cleanup() {
        if (CF && CF->isVisible()) CF->hide();
        program::destroyForms();
        delete dir;
        dir = nullptr;
    }

    void exactNumbersCrossTheClientLayer() {
        support::exec("CREATE TABLE T_Num (a NUMERIC(18,2), b NUMERIC(18,4), d DOUBLE PRECISION)");
        DM->IBTrans.endRead();
        fb::Query& q = DM->iSQL;
        TDM::reset(q, "INSERT INTO T_Num (a, b, d) VALUES (:a, :b, :d)");
        q.setScaled("a", 999999999999999LL, -2);  // past what a double keeps to the kopeck
        q.setScaled("b", -123456785LL, -4);         // -12345,6785
        q.setFloat("d", 0.125);
        DM->execCommit(q);
        TDM::reset(q, "SELECT a, b, d FROM T_Num");
        q.open();
        QCOMPARE(q.field("a").asScaled(-2), 999999999999999LL);
        QCOMPARE(q.field("a").asScaled(-4), 99999999999999900LL);
        QCOMPARE(q.field("b").asScaled(-3), -12345678LL);  // ...6785 → half to even: ...678
        QCOMPARE(q.field("b").asScaled(-2), -1234568LL);
        QCOMPARE(q.field("d").asScaled(-2), 12LL);  // 12,5 → 12
        q.close();
    }

    void statesAdvanceAndRefund() {
        const int ct = addContract(car, QDate::currentDate(), {60000}, {{20000, 2}});  // 1000,00
        QCOMPARE(app::totalOf(ct), kop(100000));
        QCOMPARE(state(ct), QString("НЕ ОПЛАЧЕН"));
        pay(ct, "300");
        QCOMPARE(state(ct), QString("ЧАСТИЧНО"));
        app::NewPayment rest = app::checkPayment(ct, "700,00", "КАРТА", rtl::DateToStr(QDate::currentDate()), "");
        QVERIFY(!app::wouldOverpay(rest));
        app::addPayment(rest);
        QCOMPARE(state(ct), QString("ОПЛАЧЕН"));
        const app::NewPayment more = app::checkPayment(ct, "0,01", "ПЕРЕВОД", rtl::DateToStr(QDate::currentDate()), "");
        QVERIFY(app::wouldOverpay(more));
        app::addPayment(more);
        QCOMPARE(state(ct), QString("ПЕРЕПЛАТА"));
        pay(ct, "0,01", "ВОЗВРАТ");
        QCOMPARE(state(ct), QString("ОПЛАЧЕН"));
        QCOMPARE(app::paidOf(ct), kop(100000));
        // A refund past what was paid is refused; nothing is written.
        QVERIFY(support::errorOf([&] { pay(ct, "1000,01", "ВОЗВРАТ"); }).contains("больше оплаченного"));
        QCOMPARE(support::count("Payments", "ct_fk = " + QString::number(ct)), 4);
        // The database fills who and when.
        QCOMPARE(support::count("Payments", "created_by IS NULL OR created_at IS NULL"), 0);

        // An advance before any line: a normal payment.
        const int empty = addContract(car, QDate::currentDate());
        pay(empty, "500");
        QCOMPARE(state(empty), QString("ПЕРЕПЛАТА"));
        QCOMPARE(app::minus(app::totalOf(empty), app::paidOf(empty)), kop(-50000));
    }

    void badInputIsRefusedBeforeAnyWrite() {
        const int ct = addContract(car, QDate::currentDate(), {10000});
        const QString today = rtl::DateToStr(QDate::currentDate());
        const struct {
            QString amount, method, date, note, says;
        } cases[] = {
            {"", "НАЛИЧНЫЕ", today, "", "«Сумма» не заполнено"},
            {"0", "НАЛИЧНЫЕ", today, "", "больше нуля"},
            {"-5", "НАЛИЧНЫЕ", today, "", "отрицательной"},
            {"12a", "НАЛИЧНЫЕ", today, "", "не число"},
            {"1,2,3", "НАЛИЧНЫЕ", today, "", "не число"},
            {"100000000000", "НАЛИЧНЫЕ", today, "", "вне допустимого диапазона"},
            {"1,005", "НАЛИЧНЫЕ", today, "", "двух знаков"},
            {"10", "БАРТЕР", today, "", "не из списка"},
            {"10", "НАЛИЧНЫЕ", "31.02.2024", "", "не дата"},
            {"10", "НАЛИЧНЫЕ", "  .  .    ", "", "не дата"},
            {"10", "НАЛИЧНЫЕ", today, "оплата 😀", "1251"},
        };
        for (const auto& c : cases) {
            const QString error = support::errorOf([&] { app::checkPayment(ct, c.amount, c.method, c.date, c.note); });
            QVERIFY2(error.contains(c.says) || (c.says == "1251" && !error.isEmpty()), qPrintable(c.amount + ": " + error));
        }
        QCOMPARE(app::parseAmount("1 500,5"), kop(150050));
        QCOMPARE(app::parseAmount("99999999999.99"), kop(9999999999999));
        // The dialog refuses in the same words and writes nothing.
        PY->prepare(ct, "abc");
        QVERIFY(support::errorOf([] { PY->BitBtnPayOkClick(); }).contains("не число"));
        QCOMPARE(support::count("Payments"), 0);
    }

    void contractWithPaymentsIsNotDeleted() {
        const int ct = addContract(car, QDate::currentDate(), {10000});
        pay(ct, "50");
        MF->FormActivate();
        MF->Grid_doc->setCurrentRow(1);
        {
            widgets::MessageRecorder rec(true);
            MF->N4Click();
            QCOMPARE(rec.lastText(), QString("По договору есть оплаты. Сначала удалите оплаты."));
        }
        QCOMPARE(support::count("Contracts"), 1);
        QCOMPARE(support::count("CT_Works"), 1);
        // Without its payments it goes.
        const int id = support::lastKey("Payments");
        {
            widgets::MessageRecorder rec(true);
            app::deletePayment(ct, id);
            MF->Grid_doc->setCurrentRow(1);
            MF->N4Click();
        }
        QCOMPARE(support::count("Contracts"), 0);
    }

    void twoAttachmentsPayAtOnce() {
        const int ct = addContract(car, QDate::currentDate(), {100000});
        support::OtherAttachment other;
        // The other workstation is in the middle of its payment: it holds
        // the contract and has written, not yet committed.
        other.run(QString("INSERT INTO Payments (ct_fk, p_date, amount, method) VALUES (%1, CURRENT_DATE, 250.25, 'КАРТА')").arg(ct));
        other.run(QString("SELECT pk_id FROM Contracts WHERE pk_id = %1 WITH LOCK").arg(ct));
        std::thread later([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.commit();
        });
        pay(ct, "100,10");
        later.join();
        QCOMPARE(app::paidOf(ct), kop(35035));
        other.q.close();
        other.q.setSQL({app::paidSql(QString::number(ct)).prepend("SELECT ").append(" FROM RDB$DATABASE")});
        other.q.open();
        QCOMPARE(other.q.field(0).asScaled(-2), 35035LL);
        other.commit();
    }

    // The payment's unit meets a row held elsewhere after it took the
    // contract: run again until the other one commits; past the patience of
    // a lock, the usual message and nothing written.
    void aConflictingUnitIsRunAgain() {
        const int ct = addContract(car, QDate::currentDate(), {100000});
        const int id = pay(ct, "300");
        support::OtherAttachment other;
        other.run("INSERT INTO Settings (name, val) VALUES ('x', 'y')");  // its write transaction
        other.run(QString("SELECT pk_id FROM Payments WHERE pk_id = %1 WITH LOCK").arg(id));
        QCOMPARE(support::errorOf([&] { app::deletePayment(ct, id); }), app::rowBusyText());
        QCOMPARE(support::count("Payments"), 1);
        std::thread later([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.commit();
        });
        QCOMPARE(support::errorOf([&] { app::deletePayment(ct, id); }), QString());
        later.join();
        QCOMPARE(support::count("Payments"), 0);
        QCOMPARE(app::paidOf(ct), Money());
    }

    void paymentOntoContractDeletedElsewhere() {
        const int ct = addContract(car, QDate::currentDate(), {100000});
        const app::NewPayment p = app::checkPayment(ct, "10", "НАЛИЧНЫЕ", rtl::DateToStr(QDate::currentDate()), "");
        support::OtherAttachment other;
        QCOMPARE(other.tryExec(QString("DELETE FROM CT_Works WHERE ct_fk = %1").arg(ct)), QString());
        QCOMPARE(other.tryExec(QString("DELETE FROM Contracts WHERE pk_id = %1").arg(ct)), QString());
        QCOMPARE(support::errorOf([&] { app::addPayment(p); }), app::contractGoneText());
        QCOMPARE(support::count("Payments"), 0);
    }

    void sumsAreExactOverThousandsOfPayments() {
        const int ct = addContract(car, QDate::currentDate(), {1});
        tools::Rng rng(25);
        qint64 expected = 0;
        for (int i = 0; i < 1200; ++i) {
            const qint64 k = 1 + rng.below(99999999);  // up to 999999,99
            const bool refund = i % 7 == 6 && expected > k;
            pay(ct, Money::fromUnits(k * 100).toString(), refund ? "ВОЗВРАТ" : "КАРТА");
            expected += refund ? -k : k;
        }
        QCOMPARE(app::paidOf(ct), kop(expected));
        const app::Cash c = app::cash(DM->IBDbase, DM->IBTrans, QDate::currentDate(), QDate::currentDate());
        QCOMPARE(c.total, kop(expected));
    }

    void debtorsAndCashAgreeWithSumsMadeHere() {
        tools::Rng rng(7);
        const QDate today = QDate::currentDate();
        std::vector<int> cars;
        for (int i = 0; i < 12; ++i)
            cars.push_back(support::addCar({{"owner", QString("КЛИЕНТ %1").arg(i % 9)}, {"phone", QString::number(i % 3)}}));
        std::map<std::pair<QString, QString>, qint64> dueByCustomer;  // kopecks
        std::map<QString, qint64> cashByMethod;
        qint64 cashTotal = 0;
        for (int i = 0; i < 120; ++i) {
            const int c = rng.below(int(cars.size()));
            const qint64 w = rng.below(500000), s = rng.below(30000);
            const int n = 1 + rng.below(4);
            const int ct = addContract(cars[size_t(c)], today.addDays(-rng.below(60)), {w}, {{s, n}});
            const qint64 total = w + s * n;
            qint64 paid = 0;
            for (int k = rng.below(3); k > 0; --k) {
                const qint64 a = 1 + rng.below(int(total + 1));
                const QString method = app::paymentMethods()[rng.below(3)];
                const QDate d = today.addDays(-rng.below(5));
                pay(ct, Money::fromUnits(a * 100).toString(), method, d);
                paid += a;
                if (d >= today.addDays(-2)) {
                    cashByMethod[method] += a;
                    cashTotal += a;
                }
            }
            if (total > paid) dueByCustomer[{QString("КЛИЕНТ %1").arg(c % 9), QString::number(c % 3)}] += total - paid;
        }
        // Over the sums kept in the rows, and over lines and payments.
        app::setDatabaseSchema(2);
        const std::vector<app::Debtor> summed = app::debtors(DM->IBDbase, DM->IBTrans);
        app::setDatabaseSchema(6);
        const std::vector<app::Debtor> list = app::debtors(DM->IBDbase, DM->IBTrans);
        QCOMPARE(list.size(), dueByCustomer.size());
        QCOMPARE(summed.size(), list.size());
        qint64 all = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            QCOMPARE(list[i].due, kop(dueByCustomer.at({list[i].owner, list[i].phone})));
            QCOMPARE(summed[i].due, list[i].due);
            if (i > 0) QVERIFY(list[i - 1].due.units() >= list[i].due.units());
            all += list[i].due.units() / 100;
        }
        QCOMPARE(app::debtTotal(list), kop(all));
        const app::Cash cash = app::cash(DM->IBDbase, DM->IBTrans, today.addDays(-2), today);
        QCOMPARE(cash.total, kop(cashTotal));
        for (const auto& [method, sum] : cashByMethod) QCOMPARE(cash.byMethod.at(method), kop(sum));
        // torquil-db prints the same figures.
        const tools::ReportTable t = tools::debtsTable(DM->IBDbase, DM->IBTrans);
        QCOMPARE(t.totals.value(0).value(4), app::moneyText(kop(all)));
        QCOMPARE(int(t.rows.size()), int(list.size()));
    }

    void editorJournalAndWindowsShowTheMoney() {
        const int paidOne = addContract(car, QDate::currentDate(), {150000});
        const int owing = addContract(car, QDate::currentDate(), {20050});
        pay(paidOne, "1500");
        // A line past the money limit: no sum, due left blank, not a debt.
        const int huge = addContract(car, QDate::currentDate(), {10000000000000000LL});
        // The sums kept in the contract's row, and those of a database
        // before them (lines and payments summed), give the same journal.
        for (int schema : {6, 2}) {
            app::setDatabaseSchema(schema);
            MF->BoxPay->setCurrentIndex(0);
            MF->FormActivate();
            QCOMPARE(MF->Grid_doc->cell(8, 1).trimmed(), QString("1500,00"));
            QCOMPARE(MF->Grid_doc->cell(9, 1).trimmed(), QString("0,00"));
            QCOMPARE(MF->Grid_doc->cell(9, 2).trimmed(), QString("200,50"));
            QCOMPARE(MF->Grid_doc->cell(0, 3), QString::number(huge));
            QCOMPARE(MF->Grid_doc->cell(9, 3).trimmed(), QString());
            MF->BoxPay->setCurrentIndex(1);
            MF->RefillJournal();
            QCOMPARE(MF->Grid_doc->rowCount(), 2);
            QCOMPARE(MF->Grid_doc->cell(0, 1), QString::number(owing));
        }
        app::setDatabaseSchema(6);

        // The editor in view mode takes a payment through the dialog.
        MF->Grid_doc->setCurrentRow(1);
        MF->ToolButton6Click();
        QTest::qWait(100);  // the editor's own activation comes first
        QCOMPARE(CF->GP7->LabelDue->text(), QString("200,50"));
        QVERIFY(CF->GP7->BitBtnPay->isEnabled());
        bool done = false;
        support::whenModal(PY, [] {
            QCOMPARE(PY->EditAmount->text(), QString("200,50"));
            PY->EditAmount->setText("100");
            PY->BitBtnPayOk->click();
        }, &done);
        const QString error = support::errorOf([] { CF->GP7->BitBtnPayClick(); });
        QCOMPARE(error, QString());
        QVERIFY(done);
        QCOMPARE(CF->GP7->LabelPaid->text(), QString("100,00"));
        QCOMPARE(CF->GP7->LabelState->text(), QString("ЧАСТИЧНО"));
        QCOMPARE(CF->GP7->Grid_pay->cell(3, 1).trimmed(), QString("100,00"));
        QVERIFY(CF->GP7->BitBtnPayDel->isEnabled());
        // A clerk's login may take a payment but not delete one.
        app::setCurrentRole(app::Role::Clerk);
        CF->GP7->load(owing);
        QVERIFY(CF->GP7->BitBtnPay->isEnabled() && !CF->GP7->BitBtnPayDel->isEnabled());
        QCOMPARE(CF->GP7->BitBtnPayDel->toolTip(), app::ownerOnlyHint());
        app::setCurrentRole(app::Role::Owner);
        CF->hide();

        // The debtors: one customer (not the contract without a sum); Enter
        // opens the oldest contract.
        support::whenModal(DL, [] {
            QCOMPARE(DL->Grid_dl->cell(5, 1).trimmed(), QString("100,50"));
            DL->Grid_dl->setCurrentRow(1);
            DL->Grid_dlEnter();
        }, &done);
        MF->N52Click();
        QVERIFY(done);
        QVERIFY(CF->isVisible());
        QCOMPARE(CF->DocId, owing);
        CF->hide();
        // The cash of today: both payments.
        support::whenModal(KS, [] {
            QVERIFY(KS->LabelTotal->text().endsWith("1600,00"));
            KS->reject();
        }, &done);
        MF->N53Click();
        QVERIFY(done);
    }

    void olderDatabaseHidesPayments() {
        app::setDatabaseSchema(1);
        MF->FormActivate();
        QVERIFY(!MF->BoxPay->isVisible());
        QVERIFY(!MF->N52->isEnabled());
        QVERIFY(MF->Grid_doc->isColumnHidden(8));
        addContract(car, QDate::currentDate(), {100});
        MF->FormActivate();
        MF->Grid_doc->setCurrentRow(1);
        MF->ToolButton6Click();
        QVERIFY(!CF->GP7->isVisible());
        app::setDatabaseSchema(2);
    }
};

TORQUIL_TEST_MAIN(TestPayments)
#include "tst_payments.moc"
