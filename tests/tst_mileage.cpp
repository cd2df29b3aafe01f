// The mileage at each visit and the next service: the editor's checks and
// questions, one write unit with the car's mileage, the proposal from the
// shop's intervals, the history's column and yearly distance, and a
// database without the columns.
#include "app/Settings.h"
#include "app/SchemaUpgrade.h"
#include "cars/HS.h"
#include "fb/Connection.h"
#include "tst_editor_util.h"
#include "support/Typing.h"
#include "tools/DbTools.h"

namespace {

QString contractValue(const QString& column, int key) {
    return support::scalar(QString("SELECT %1 FROM Contracts WHERE pk_id = %2").arg(column).arg(key));
}
QString carKm(int car) { return support::scalar(QString("SELECT km FROM Cars WHERE pk_id = %1").arg(car)); }

int addVisit(int car, const QString& date, const QVariant& km) {
    const int ct = addContract(car, date, s("ИВАНОВ"), QString());
    if (km.isValid()) support::exec(QString("UPDATE Contracts SET km = %1 WHERE pk_id = %2").arg(km.toInt()).arg(ct));
    return ct;
}

// A new contract of `car` on `date` with one work, the date and the mileage typed.
void typeNew(int car, const QString& date, const QString& km) {
    openNew();
    pickCar(car);
    CF->MaskEdit1->setText(date);
    emit CF->MaskEdit1->userChanged();
    CF->EditKm->setText(km);
    emit CF->EditKm->textEdited(km);
    CF->AppendWork(s("ДИАГНОСТИКА"), "100");
}

}  // namespace

class TestMileage : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int car1 = 0, car2 = 0;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        openWindowsWithCars(dir, car1, car2);
    }
    void cleanupTestCase() { program::destroyForms(); }
    void init() {
        deleteContracts();
        support::exec(QString("UPDATE Cars SET km = 123456"));
    }
    void cleanup() { CF->hide(); }

    // The visit's mileage, the next service and the car's raised mileage are
    // written together: a line the database refuses leaves none of them.
    void storedWithTheContractInOneUnit() {
        support::exec("CREATE EXCEPTION no_line 'refused'");
        support::exec("CREATE TRIGGER refuse_lines FOR CT_Works BEFORE INSERT AS BEGIN EXCEPTION no_line; END");
        typeNew(car1, "10.03.2024", "130000");
        QVERIFY(!save().isEmpty());
        support::exec("DROP TRIGGER refuse_lines");
        support::exec("DROP EXCEPTION no_line");
        QCOMPARE(count("Contracts"), 0);
        QCOMPARE(carKm(car1), QString("123456"));
        QCOMPARE(CF->EditKm->text(), QString("130000"));

        QCOMPARE(save(), QString());
        const int ct = lastKey("Contracts");
        QCOMPARE(contractValue("km", ct), QString("130000"));
        QCOMPARE(contractValue("next_date", ct), QString("10.03.2025"));
        QCOMPARE(contractValue("next_km", ct), QString("145000"));
        QCOMPARE(carKm(car1), QString("130000"));
        QCOMPARE(CF->Edit1->text(), QString("130000"));  // the car's field shows it at once

        // Edited: the values are rewritten; a mileage below the car's leaves the car's.
        openEdit(ct);
        QCOMPARE(CF->EditKm->text(), QString("130000"));
        CF->EditKm->setText("125000");
        CF->DateNext->clear();
        CF->EditNextKm->clear();
        QCOMPARE(save(), QString());
        QCOMPARE(contractValue("km", ct), QString("125000"));
        QCOMPARE(count("Contracts", QString("pk_id = %1 AND next_date IS NULL AND next_km IS NULL").arg(ct)), 1);
        QCOMPARE(carKm(car1), QString("130000"));
    }

    // Below the latest earlier visit with a mileage: asked, No stores
    // nothing and keeps what was typed. A later visit does not count.
    void lowerMileageIsAskedAbout() {
        addVisit(car1, "2024-01-10", 150000);
        addVisit(car1, "2024-02-01", QVariant());
        addVisit(car1, "2024-05-01", 100);
        typeNew(car1, "01.03.2024", "140000");
        widgets::MessageRecorder messages;
        messages.queueAnswer(false);
        QCOMPARE(save(), QString());
        QCOMPARE(messages.lastText(), s("Пробег меньше, чем при визите 10.01.2024 (150000 км). Сохранить?"));
        QCOMPARE(count("Contracts"), 3);
        QVERIFY(CF->NewDoc);
        QCOMPARE(CF->EditKm->text(), QString("140000"));
        messages.queueAnswer(true);
        QCOMPARE(save(), QString());
        QCOMPARE(messages.count(), 2);
        QCOMPARE(contractValue("km", lastKey("Contracts")), QString("140000"));
        QCOMPARE(carKm(car1), QString("140000"));
        // Not below: no question.
        typeNew(car1, "01.03.2024", "150000");
        QCOMPARE(save(), QString());
        QCOMPARE(messages.count(), 2);
    }

    // A new contract without a mileage is asked about once; a stored one is not.
    void missingMileageIsAskedAbout() {
        typeNew(car2, "01.03.2024", "");
        widgets::MessageRecorder messages;
        messages.queueAnswer(false);
        QCOMPARE(save(), QString());
        QCOMPARE(messages.lastText(), s("Пробег не указан. Сохранить без пробега?"));
        QCOMPARE(count("Contracts"), 0);
        messages.queueAnswer(true);
        QCOMPARE(save(), QString());
        QCOMPARE(messages.count(), 2);
        const int ct = lastKey("Contracts");
        QCOMPARE(count("Contracts", QString("pk_id = %1 AND km IS NULL").arg(ct)), 1);
        QCOMPARE(carKm(car2), QString("123456"));
        openEdit(ct);
        QVERIFY(CF->EditKm->text().isEmpty());  // none, never 0
        CF->Box0->setText(s("ИВАНОВ"));
        QCOMPARE(save(), QString());
        QCOMPARE(messages.count(), 2);
    }

    // Refused with the field named, before any write; nothing typed is lost.
    void badInputIsRefusedBeforeAnyWrite() {
        const struct {
            const char *km, *nextDate, *nextKm, *message;
        } cases[] = {
            {"-5", "", "", "Пробег при приёме должен быть целым числом от 0 до 9 999 999."},
            {"12,5", "", "", "Пробег при приёме должен быть целым числом от 0 до 9 999 999."},
            {"10000000", "", "", "Пробег при приёме должен быть целым числом от 0 до 9 999 999."},
            {"ПЯТЬ", "", "", "Пробег при приёме должен быть целым числом от 0 до 9 999 999."},
            {"1000", "", "1E5", "Пробег следующего ТО должен быть целым числом от 0 до 9 999 999."},
            {"1000", "31.02.2025", "", "Дата следующего ТО указана неверно."},
            {"1000", "01.03.20  ", "", "Дата следующего ТО указана неверно."},
            {"1000", "28.02.2024", "", "Дата следующего ТО не может быть раньше даты договора (01.03.2024)."},
        };
        widgets::MessageRecorder messages(true);
        for (const auto& c : cases) {
            typeNew(car1, "01.03.2024", s(c.km));
            CF->DateNext->setText(c.nextDate);
            CF->EditNextKm->setText(c.nextKm);
            const QString nextDate = CF->DateNext->text();
            QCOMPARE(save(), QString());
            QCOMPARE(messages.lastText(), s(c.message));
            QCOMPARE(messages.lastCaption(), s("Ошибка"));
            QCOMPARE(count("Contracts"), 0);
            QCOMPARE(carKm(car1), QString("123456"));
            QCOMPARE(CF->EditKm->text(), s(c.km));
            QCOMPARE(CF->DateNext->text(), nextDate);
            QCOMPARE(CF->EditNextKm->text(), s(c.nextKm));
            QVERIFY(CF->NewDoc && CF->ToolButton8->isEnabled());
        }
        // The edges are mileages; the next service may fall on the visit's day.
        typeNew(car1, "01.03.2024", "9999999");
        CF->DateNext->setText("01.03.2024");
        CF->EditNextKm->setText(" 0 ");
        QCOMPARE(save(), QString());
        QCOMPARE(contractValue("km || '|' || next_km || '|' || next_date", lastKey("Contracts")),
                 QString("9999999|0|2024-03-01"));
    }

    // A new contract's next service follows the date and the mileage by the
    // shop's intervals until the clerk types his own or clears it.
    void nextServiceProposedFromTheShopsIntervals() {
        app::storeSetting(app::kServiceMonths, "6");
        app::storeSetting(app::kServiceKm, "10000");
        openNew();
        QCOMPARE(CF->DateNext->text(), rtl::DateToStr(QDate::currentDate().addMonths(6)));
        QVERIFY(CF->EditNextKm->text().isEmpty());
        CF->MaskEdit1->setText("31.08.2024");
        emit CF->MaskEdit1->userChanged();
        QCOMPARE(CF->DateNext->text(), QString("28.02.2025"));
        support::typeText(CF->EditKm, "5000");
        QCOMPARE(CF->EditNextKm->text(), QString("15000"));
        CF->EditNextKm->clear();
        emit CF->EditNextKm->textEdited(QString());
        support::typeText(CF->EditKm, "0");
        QVERIFY(CF->EditNextKm->text().isEmpty());  // cleared by the clerk: stays so
        CF->DateNext->setText("01.09.2025");
        emit CF->DateNext->userChanged();
        CF->MaskEdit1->setText("01.09.2024");
        emit CF->MaskEdit1->userChanged();
        QCOMPARE(CF->DateNext->text(), QString("01.09.2025"));
        app::storeSetting(app::kServiceMonths, "");
        app::storeSetting(app::kServiceKm, "");
    }

    // Each visit's mileage (none shown as nothing) and the distance a year
    // from the first visit with a mileage to the last.
    void historyShowsTheMileageAndTheYearlyDistance() {
        addVisit(car2, "2023-01-01", 10000);
        addVisit(car2, "2023-06-01", QVariant());
        addVisit(car2, "2024-01-01", 22000);
        HS->CarKey = QString::number(car2);
        HS->FormActivate();
        QCOMPARE(column(HS->Grid_hist, 7), QStringList({"  22000", "", "  10000"}));
        QCOMPARE(HS->LabelYear->text(), s("СРЕДНИЙ ПРОБЕГ ЗА ГОД: 12008 КМ"));  // 12000 km in 365 days
        support::exec("UPDATE Contracts SET km = NULL WHERE c_date = '2024-01-01'");
        HS->FormActivate();
        QCOMPARE(HS->LabelYear->text(), s("СРЕДНИЙ ПРОБЕГ ЗА ГОД: —"));
        HS->hide();
    }

    // A database without the columns (one the program may not upgrade): the
    // fields are hidden and the editor, the history and the demo data work
    // as before.
    void databaseWithoutTheColumns() {
        QTemporaryDir base;
        {
            fb::Connection db;
            db.databaseName = support::makeBaseDatabase(base, "demo.fdb");
            db.open();
            tools::fillDemo(db, QDate(2024, 6, 1));
        }
        DM->IBTrans.endRead();
        DM->IBDbase.close();
        DM->IBDbase.databaseName = support::makeBaseDatabase(base);
        DM->IBDbase.open();
        app::setDatabaseSchema(0);
        support::exec(s("INSERT INTO meh (name) VALUES ('ИВАНОВ')"));
        const int car = editortest::addCar(s("ВАЗ"), s("2107"), s("А123ВС"));
        typeNew(car, "01.03.2024", "");
        QVERIFY(CF->EditKm->isHidden() && CF->DateNext->isHidden() && CF->EditNextKm->isHidden());
        widgets::MessageRecorder messages;
        QCOMPARE(save(), QString());
        QVERIFY(messages.isEmpty());
        QCOMPARE(count("Contracts"), 1);
        QCOMPARE(CF->Edit1->text(), QString("123456"));
        HS->CarKey = QString::number(car);
        HS->FormActivate();
        QCOMPARE(HS->Grid_hist->rowCount(), 2);
        QVERIFY(HS->LabelYear->isHidden());
        HS->hide();
    }
};

QTEST_MAIN(TestMileage)
#include "tst_mileage.moc"
