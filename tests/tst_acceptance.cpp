// The editor's acceptance group and the customer's own parts: checked
// before anything is written, saved in one unit with the contract, and the
// address proposed from the car's previous contract.
#include "tst_editor_util.h"

#include "support/TestMain.h"

#include <QComboBox>
#include <QLineEdit>

class TestAcceptance : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int car1 = 0, car2 = 0;

    static void addOwn(const char* name, const char* qty, const char* note) {
        CF->EditOwnName->setText(s(name));
        CF->EditOwnQty->setText(s(qty));
        CF->EditOwnNote->setText(s(note));
        CF->BitBtnOwnAddClick();
    }

private slots:
    void initTestCase() { openWindowsWithCars(dir, car1, car2); }
    void cleanupTestCase() { program::destroyForms(); }
    void init() {
        support::exec("DELETE FROM Ct_Own");
        deleteContracts();
    }
    void cleanup() { CF->hide(); }

    // The parts and the acceptance fields go with the rest of the contract
    // or not at all: a part the database refuses leaves the remark, the
    // lines and the parts as they were.
    void savedAllOrNothing() {
        const int ct = addContract(car1, "01.12.2026", s("СИДОРОВ"), s("СТАРОЕ"));
        openEdit(ct);
        QVERIFY(CF->GP5->isVisible() && CF->GP6->isEnabled());
        CF->Memo1->setPlainText(s("НОВОЕ"));
        CF->AppendWork(s("ДИАГНОСТИКА"), "500");
        CF->MaskEditDeadline->setText("05.12.2026");
        CF->BoxExtraRule->setCurrentText(s("ВЫПОЛНЯТЬ ДО СУММЫ"));
        CF->EditExtraLimit->setText("3500,5");
        CF->EditAcceptNote->setText(s("Скол на лобовом стекле"));
        addOwn("МАСЛО 5W40", "4", "канистра");
        addOwn("ФИЛЬТР", "1", "");
        QCOMPARE(CF->Grid_own->cell(0, 2), s("ФИЛЬТР"));
        support::exec("CREATE EXCEPTION own_refused 'refused'");
        support::exec("CREATE TRIGGER own_refuse FOR Ct_Own BEFORE INSERT AS BEGIN "
                      "IF (NEW.name = 'ФИЛЬТР') THEN EXCEPTION own_refused; END");
        QVERIFY(!save().isEmpty());
        QCOMPARE(support::scalar(QString("SELECT rem FROM Contracts WHERE pk_id = %1").arg(ct)), s("СТАРОЕ"));
        QCOMPARE(count("CT_Works"), 0);
        QCOMPARE(count("Ct_Own"), 0);
        QVERIFY(support::scalar(QString("SELECT deadline FROM Contracts WHERE pk_id = %1").arg(ct)).isEmpty());

        support::exec("DROP TRIGGER own_refuse");
        support::exec("DROP EXCEPTION own_refused");
        QCOMPARE(save(), QString());
        QCOMPARE(support::column(QString("SELECT name || '/' || quantity || '/' || COALESCE(note, '') FROM Ct_Own "
                                         "WHERE ct_fk = %1 ORDER BY pk_id").arg(ct)),
                 QStringList({s("МАСЛО 5W40/4/канистра"), s("ФИЛЬТР/1/")}));
        QCOMPARE(support::scalar(QString("SELECT extra_limit FROM Contracts WHERE pk_id = %1").arg(ct)), "3500,5");
        QVERIFY(!support::scalar(QString("SELECT accepted FROM Contracts WHERE pk_id = %1").arg(ct)).isEmpty());
        // Shown again as stored; a part removed is gone at the next save.
        QCOMPARE(CF->EditAcceptNote->text(), s("Скол на лобовом стекле"));
        QCOMPARE(CF->Grid_own->cell(0, 1), s("МАСЛО 5W40"));
        CF->ToolButton4Click();
        CF->Grid_own->setCurrentRow(1);
        CF->BitBtnOwnDelClick();
        QCOMPARE(save(), QString());
        QCOMPARE(count("Ct_Own"), 1);
    }

    // Every new field is refused in words before any write.
    void badInputRefusedBeforeWriting() {
        const int ct = addContract(car1, "10.12.2026", QString(), QString());
        openEdit(ct);
        struct Case { std::function<void()> set; const char* words; };
        const Case cases[] = {
            {[] { CF->MaskEditDeadline->setText("31.02.2026"); }, "не дата"},
            {[] { CF->MaskEditDeadline->setText("09.12.2026"); }, "раньше даты приёма"},
            {[] { CF->MaskEditDone->setText("01.01.2020"); }, "Дата выдачи"},
            {[] { CF->EditCarValue->setText("сто"); }, "не денежная сумма"},
            {[] { CF->BoxExtraRule->setCurrentText(s("ВЫПОЛНЯТЬ ДО СУММЫ")); }, "укажите сумму"},
            {[] { CF->EditAddress->setText(s("ул. Ёлочная 漢 5")); }, "не может быть сохранён"},
        };
        for (const Case& c : cases) {
            CF->MaskEditDeadline->clear();
            CF->MaskEditDone->clear();
            CF->EditCarValue->clear();
            CF->EditAddress->clear();
            CF->BoxExtraRule->setCurrentIndex(0);
            c.set();
            CF->ToolButton8->setEnabled(true);
            const QString error = save();
            QVERIFY2(error.contains(s(c.words)), qPrintable(s(c.words) + " <> " + error));
            QVERIFY(support::scalar(QString("SELECT accepted FROM Contracts WHERE pk_id = %1").arg(ct)).isEmpty());
        }
        CF->EditOwnQty->setText("0");
        CF->EditOwnName->setText(s("КОЛЕСО"));
        QVERIFY(errorOf([] { CF->BitBtnOwnAddClick(); }).contains(s("от 1 до 99999")));
        QCOMPARE(CF->Grid_own->cell(0, 1), QString());
    }

    // A new contract for a car takes the customer's address of its last one.
    void addressProposedFromThePreviousContract() {
        const int old = addContract(car2, "01.11.2026", QString(), QString());
        support::exec(QString("UPDATE Contracts SET cust_address = 'г. Тверь, ул. Лесная, 3' WHERE pk_id = %1").arg(old));
        openNew();
        QVERIFY(CF->EditAddress->text().isEmpty());
        CF->TakeCar({}, QString::number(car2));
        QCOMPARE(CF->EditAddress->text(), s("г. Тверь, ул. Лесная, 3"));
    }
};

TORQUIL_TEST_MAIN(TestAcceptance)
#include "tst_acceptance.moc"
