// The cars due for service: the list against a computation of its own on
// generated visits, the reminders window, and torquil-db's report.
#include "app/DM.h"
#include "app/Reminders.h"
#include "app/SchemaSteps.h"
#include "app/SchemaUpgrade.h"
#include "cars/HS.h"
#include "contracts/MF.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "program/Windows.h"
#include "reports/NR.h"
#include "rtl/Convert.h"
#include "support/Cars.h"
#include "support/Modal.h"
#include "support/OtherAttachment.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "tools/ReportCommand.h"
#include "tools/Rng.h"
#include "widgets/LineEdit.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QDate kToday = QDate::currentDate();

struct Visit {
    int key;
    QDate date;
    std::optional<int> km, nextKm;
    QDate next, reminded;
};

QString sqlValue(const std::optional<int>& v) { return v ? QString::number(*v) : QStringLiteral("NULL"); }
QString sqlValue(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("''yyyy-MM-dd''")) : QStringLiteral("NULL"); }

Visit addVisit(int car, int daysAgo, std::optional<int> km, int nextIn = 0, std::optional<int> nextKm = {},
               int remindedAgo = -1) {
    Visit v{0, kToday.addDays(-daysAgo), km, nextKm, nextIn ? kToday.addDays(nextIn) : QDate(),
            remindedAgo >= 0 ? kToday.addDays(-remindedAgo) : QDate()};
    support::exec(QStringLiteral("INSERT INTO Contracts (c_date, cr_fk, km, next_date, next_km, reminded) "
                                 "VALUES (%1, %2, %3, %4, %5, %6)")
                      .arg(sqlValue(v.date)).arg(car).arg(sqlValue(v.km), sqlValue(v.next), sqlValue(v.nextKm),
                                                             sqlValue(v.reminded)));
    v.key = support::lastKey(QStringLiteral("Contracts"));
    return v;
}

// A car's visits at random: mileage or none, next services, calls, several
// visits a day; at least `fewest` of them.
QList<Visit> randomVisits(tools::Rng& rng, int car, int fewest) {
    QList<Visit> visits;
    int km = rng.below(100000), daysAgo = 300 + rng.below(800);
    for (int n = fewest + rng.below(4); n > 0 && daysAgo >= 0; --n) {
        km += rng.below(20000);
        const bool sets = rng.chance(0.4);
        visits << addVisit(car, daysAgo, rng.chance(0.7) ? std::optional<int>(km) : std::nullopt,
                           sets && rng.chance(0.8) ? rng.below(500) - 250 : 0,
                           sets ? std::optional<int>(km + rng.below(20000)) : std::nullopt,
                           rng.chance(0.3) ? 1 + rng.below(30) : -1);
        daysAgo -= rng.chance(0.2) ? 0 : rng.below(400 / fewest);
    }
    return visits;
}

// The expected row of a car, computed visit by visit from the rules as a
// clerk would apply them; empty when the car is not due.
QStringList expectedRow(const QList<Visit>& visits, const QString& owner, const app::ReminderTerms& t) {
    QList<Visit> byDate = visits;  // oldest first; one day's visits in the order entered
    std::sort(byDate.begin(), byDate.end(),
              [](const Visit& a, const Visit& b) { return a.date != b.date ? a.date < b.date : a.key < b.key; });
    const Visit& last = byDate.last();
    const Visit* setter = nullptr;
    QList<const Visit*> withKm;
    for (const Visit& v : byDate) {
        if (v.next.isValid() || v.nextKm) setter = &v;
        if (v.km) withKm << &v;
    }
    QDate due = setter ? setter->next : last.date.addMonths(t.months);
    std::optional<qint64> dueKm;
    if (setter && setter->nextKm) dueKm = *setter->nextKm;
    if (!setter && last.km) dueKm = *last.km + t.km;
    std::optional<qint64> now;
    if (withKm.size() >= 2 && withKm.first()->date < withKm.last()->date) {
        const double perDay = double(*withKm.last()->km - *withKm.first()->km) /
                              double(withKm.first()->date.daysTo(withKm.last()->date));
        now = *withKm.last()->km + qint64(std::llround(std::max(0.0, perDay) * withKm.last()->date.daysTo(kToday)));
    }
    const bool overdue = (due.isValid() && due < kToday) || (now && dueKm && *now >= *dueKm);
    const bool soon = (due.isValid() && kToday.daysTo(due) <= t.days) || (now && dueKm && *now + t.kmAhead >= *dueKm);
    if (!overdue && !soon) return {};
    auto km = [](const std::optional<qint64>& v) { return v ? QString::number(*v) : QString(); };
    auto date = [](const QDate& d) { return d.isValid() ? rtl::DateToStr(d) : QString(); };
    return {owner, QStringLiteral("123"), QStringLiteral("ВАЗ 2107"), QStringLiteral("А001АА 77"),
            date(last.date), last.km ? QString::number(*last.km) : QString(), km(now), date(due), km(dueKm),
            overdue ? QStringLiteral("ПРОСРОЧЕНО") : QStringLiteral("СКОРО"),
            date(setter ? setter->reminded : last.reminded)};
}

app::ReminderTerms defaultTerms() {
    app::ReminderTerms t;
    t.today = kToday;
    return t;
}

QList<app::Reminder> currentList(const app::ReminderTerms& t = defaultTerms()) {
    return app::dueForService(DM->IBDbase, DM->IBTrans, t);
}

// Every car's row (with its key, contract and how soon), the terms letting
// nearly every car through: read from the facts kept per car, or computed
// from every contract as a database without them is read.
QStringList everyCar(bool kept) {
    const int had = app::databaseSchema();
    app::setDatabaseSchema(kept ? app::newestSchemaVersion() : 6);
    app::ReminderTerms t = defaultTerms();
    t.days = 100000;
    t.kmAhead = 10000000;
    QStringList out;
    for (const app::Reminder& r : currentList(t))
        out << QStringLiteral("%1|%2|%3|%4|").arg(r.car).arg(r.contract).arg(r.daysLeft).arg(r.overdue) +
                   app::reminderRow(r).join(u'|');
    app::setDatabaseSchema(had);
    return out;
}

const app::Reminder* find(const QList<app::Reminder>& list, int car) {
    for (const app::Reminder& r : list)
        if (r.car == car) return &r;
    return nullptr;
}

}  // namespace

class TestReminders : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;
    // The named cases, each a car of its own.
    int overdueByDate = 0, soonByDate = 0, soonByKm = 0, oneKm = 0, notDue = 0, called = 0;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        path = support::openWindows(dir);
        auto car = [](const char* owner) { return support::addCar({{"owner", QString::fromUtf8(owner)}}); };
        // The next service set a year ago, passed five weeks ago; a later
        // visit without one does not move it.
        overdueByDate = car("ПРОСРОЧЕН");
        addVisit(overdueByDate, 400, 10000, -35, 25000);
        addVisit(overdueByDate, 300, 12000);
        // No visit sets one: the shop's twelve months from the last visit.
        soonByDate = car("ПО ДАТЕ");
        addVisit(soonByDate, 700, std::nullopt);
        addVisit(soonByDate, 345, std::nullopt);
        // 50 km a day: 60,000 today, the service at 60,500.
        soonByKm = car("ПО ПРОБЕГУ");
        addVisit(soonByKm, 200, 50000);
        addVisit(soonByKm, 100, 55000, 200, 60500);
        // One visit with a mileage: no estimate; due by date alone.
        oneKm = car("ОДИН ПРОБЕГ");
        addVisit(oneKm, 350, 30000);
        notDue = car("НЕ СКОРО");
        addVisit(notDue, 10, 5000);
        called = car("ПОЗВОНИЛИ");
        addVisit(called, 380, 70000, -15, 85000, 3);
    }
    void cleanupTestCase() { program::destroyForms(); }

    void namedCases() {
        const QList<app::Reminder> list = currentList();
        QVERIFY(!find(list, notDue));
        const app::Reminder* a = find(list, overdueByDate);
        QVERIFY(a && a->overdue);
        QCOMPARE(a->dueDate, kToday.addDays(-35));
        QCOMPARE(a->estimatedKm.value_or(-1), 18000);  // 20 km a day since the first visit
        const app::Reminder* b = find(list, soonByDate);
        QVERIFY(b && !b->overdue);
        QCOMPARE(b->dueDate, kToday.addDays(-345).addMonths(12));
        QVERIFY(!b->dueKm && !b->lastKm);
        const app::Reminder* c = find(list, soonByKm);
        QVERIFY(c && !c->overdue);
        QCOMPARE(c->estimatedKm.value_or(-1), 60000);
        QCOMPARE(c->daysLeft, 10.0);
        const app::Reminder* d = find(list, oneKm);
        QVERIFY(d && !d->estimatedKm);
        QCOMPARE(d->dueKm.value_or(-1), 45000);
        const app::Reminder* e = find(list, called);
        QVERIFY(e && e->overdue);
        QCOMPARE(app::reminderRow(*e).last(), rtl::DateToStr(kToday.addDays(-3)));
        // Overdue first (the longest overdue first), then the soonest.
        QList<int> order;
        for (const app::Reminder& r : list) order << r.car;
        QCOMPARE(order, (QList<int>{overdueByDate, called, soonByKm, oneKm, soonByDate}));
    }

    // Generated visits of many cars (mileage or none, next services, calls,
    // several visits a day) against the rules applied car by car.
    void generatedAgainstIndependentComputation() {
        tools::Rng rng(2406);
        QHash<int, QList<Visit>> visits;
        QHash<int, QString> owners;
        for (int i = 0; i < 60; ++i) {
            const QString owner = QStringLiteral("КЛИЕНТ %1").arg(i, 2, 10, QChar(u'0'));
            const int car = support::addCar({{"owner", owner}});
            owners[car] = owner;
            visits[car] = randomVisits(rng, car, 1);
        }
        for (int days : {0, 30, 120}) {
            app::ReminderTerms t = defaultTerms();
            t.days = days;
            t.kmAhead = days * 40;
            QList<QStringList> expected, got;
            for (auto it = visits.cbegin(); it != visits.cend(); ++it) {
                const QStringList row = expectedRow(it.value(), owners[it.key()], t);
                if (!row.isEmpty()) expected << row;
            }
            const QList<app::Reminder> list = currentList(t);
            for (const app::Reminder& r : list)
                if (visits.contains(r.car)) got << app::reminderRow(r);
            for (qsizetype i = 1; i < list.size(); ++i) {
                QVERIFY(list[i - 1].overdue || !list[i].overdue);
                if (list[i - 1].overdue == list[i].overdue) QVERIFY(list[i - 1].daysLeft <= list[i].daysLeft);
            }
            std::sort(expected.begin(), expected.end());
            std::sort(got.begin(), got.end());
            QVERIFY2(expected.size() > 5, "the generated cars should give a list");
            QCOMPARE(got, expected);
        }
    }

    // The facts kept per car follow the contracts and the cars: new visits,
    // edits of every column they come from, a contract moved to another car,
    // deletions (the car's last contract, the car itself).
    void carFactsFollowEveryChange() {
        tools::Rng rng(724);
        QStringList car;
        for (int i = 0; i < 12; ++i) {
            const int key = support::addCar({{"owner", QStringLiteral("ФАКТЫ %1").arg(i)}});
            randomVisits(rng, key, 2);
            car << QString::number(key);
        }
        const QString newestOf = QStringLiteral("(SELECT MAX(pk_id) FROM Contracts WHERE cr_fk = %1)");
        const QString oldestOf = QStringLiteral("(SELECT MIN(pk_id) FROM Contracts WHERE cr_fk = %1)");
        QCOMPARE(everyCar(true), everyCar(false));
        support::exec("UPDATE Contracts SET km = km + 500 WHERE cr_fk = " + car[0]);
        support::exec("UPDATE Contracts SET next_date = NULL, next_km = NULL WHERE cr_fk = " + car[1]);
        support::exec("UPDATE Contracts SET next_km = 1 WHERE pk_id = " + oldestOf.arg(car[1]));
        support::exec("UPDATE Contracts SET c_date = c_date + 1000 WHERE pk_id = " + oldestOf.arg(car[2]));
        support::exec("UPDATE Contracts SET c_date = NULL WHERE pk_id = " + newestOf.arg(car[3]));
        support::exec("UPDATE Contracts SET reminded = CURRENT_DATE - 2 WHERE cr_fk = " + car[4]);
        support::exec("UPDATE Contracts SET cr_fk = " + car[6] + " WHERE pk_id = " + newestOf.arg(car[5]));
        support::exec("UPDATE Cars SET owner = 'НОВЫЙ', dev = NULL, gnum = 'В002ВВ' WHERE pk_id = " + car[7]);
        QCOMPARE(everyCar(true), everyCar(false));
        support::exec("DELETE FROM Contracts WHERE pk_id = " + newestOf.arg(car[8]));
        support::exec("DELETE FROM Contracts WHERE cr_fk = " + car[9]);
        support::exec("DELETE FROM Cars WHERE pk_id = " + car[10]);
        support::exec("UPDATE Contracts SET cr_fk = " + car[10] + " WHERE pk_id = " + newestOf.arg(car[11]));
        QCOMPARE(everyCar(true), everyCar(false));
        QCOMPARE(support::count("Car_Visits", "cr_fk IN (" + car[9] + ", " + car[10] + ")"), 0);
        // Another workstation's visit of the same car, not yet committed:
        // this one is refused (the car's row is theirs), then goes through.
        const QString visit = "INSERT INTO Contracts (c_date, cr_fk, km) VALUES (CURRENT_DATE, " + car[0] + ", %1)";
        support::OtherAttachment other;
        other.run(visit.arg(900000));
        QVERIFY_THROWS_EXCEPTION(fb::Error, support::exec(visit.arg(900001)));
        other.commit();
        support::exec(visit.arg(900001));
        QCOMPARE(everyCar(true), everyCar(false));
        QCOMPARE(support::count("Car_Visits"),
                 support::scalar("SELECT COUNT(DISTINCT ct.cr_fk) FROM Contracts ct INNER JOIN Cars cr "
                                 "ON cr.pk_id = ct.cr_fk WHERE ct.c_date IS NOT NULL").toInt());
    }

    // "Позвонили" stores today on the contract that set the service (or the
    // last visit), and the row shows it; Enter shows the car's history.
    void windowCallsAndHistory() {
        bool done = false, historyDone = false;
        int historyOf = 0;
        support::whenModal(NR, [&] {
            QCOMPARE(NR->EditDays->text(), QString("30"));
            QCOMPARE(NR->EditServiceMonths->text(), QString("12"));
            int row = 0;
            for (int r = 0; r < NR->reminders().size(); ++r)
                if (NR->reminders()[r].car == soonByDate) row = r + 1;
            QVERIFY(row > 0);
            NR->Grid_rem->setCurrentRow(row);
            QVERIFY(NR->Grid_rem->cell(11, row).trimmed().isEmpty());
            NR->BitBtnCalled->click();
            QCOMPARE(support::count(QStringLiteral("Contracts"), QStringLiteral("reminded = CURRENT_DATE")), 1);
            QCOMPARE(support::count(QStringLiteral("Contracts"),
                                    QStringLiteral("reminded = CURRENT_DATE AND cr_fk = %1 AND c_date = '%2'")
                                        .arg(soonByDate)
                                        .arg(kToday.addDays(-345).toString(Qt::ISODate))),
                     1);
            QCOMPARE(NR->reminders()[NR->Grid_rem->currentRow() - 1].car, soonByDate);
            QCOMPARE(NR->Grid_rem->cell(11, NR->Grid_rem->currentRow()), "  " + rtl::DateToStr(kToday));
            support::whenModal(HS, [&] { historyOf = HS->CarKey.toInt(); }, &historyDone);
            QTest::keyClick(NR->Grid_rem, Qt::Key_Return);
            // Back from the history: the list read again, the same car current.
            QCOMPARE(NR->reminders()[NR->Grid_rem->currentRow() - 1].car, soonByDate);
        }, &done);
        MF->N51->trigger();
        QVERIFY(done && historyDone);
        QCOMPARE(historyOf, soonByDate);
        // A database without the step: the item is off, with its hint.
        app::setDatabaseSchema(0);
        MF->FormActivate();
        QVERIFY(!MF->N51->isEnabled() && !MF->N51->toolTip().isEmpty());
        app::setDatabaseSchema(1);
        MF->FormActivate();
        QVERIFY(MF->N51->isEnabled());
    }

    // The shop's interval typed in the window is stored and used; a word
    // instead of a number is refused naming the field, and nothing is stored.
    void windowInterval() {
        NR->FormActivate();
        NR->EditServiceMonths->setText(QStringLiteral("ГОД"));
        QVERIFY_THROWS_EXCEPTION(std::exception, NR->EditServiceExit());
        QCOMPARE(support::count(QStringLiteral("Settings")), 0);
        NR->EditServiceMonths->setText(QStringLiteral("6"));
        NR->EditServiceExit();
        QCOMPARE(support::scalar(QStringLiteral("SELECT val FROM Settings WHERE name = 'service_months'")), QString("6"));
        QVERIFY(find(NR->reminders(), notDue) == nullptr);
        const app::Reminder* b = find(NR->reminders(), soonByDate);
        QVERIFY(b && b->overdue);  // six months after a visit 345 days ago
        support::exec(QStringLiteral("DELETE FROM Settings"));
    }

    // The window reads owners, phones, models and plates a screen at a time:
    // past the first screens each row still shows its own car's, and the
    // printout's rows are whole.
    void windowShowsEveryCarsFields() {
        app::setDatabaseSchema(app::newestSchemaVersion());
        for (int i = 0; i < 150; ++i) {
            const int car = support::addCar({{"owner", QStringLiteral("ЭКРАН %1").arg(i)},
                                             {"phone", QString::number(9000 + i)},
                                             {"gnum", QStringLiteral("Е%1ЕЕ").arg(i, 3, 10, QChar(u'0'))}});
            addVisit(car, 400 + i % 7, std::nullopt);
        }
        NR->EditServiceMonths->setText(QStringLiteral("12"));
        NR->FormActivate();
        const QList<app::Reminder> full = currentList();
        QCOMPARE(NR->Grid_rem->rowCount() - 1, full.size());
        for (int row = NR->Grid_rem->rowCount() - 1; row >= 1; --row) {
            const QStringList want = app::reminderRow(full[row - 1]);
            QCOMPARE(NR->Grid_rem->cell(0, row).toInt(), full[row - 1].car);
            for (int col = 1; col <= 4; ++col) QCOMPARE(NR->Grid_rem->cell(col, row), "  " + want[col - 1]);
        }
        QList<app::Reminder> unread = app::dueForService(DM->IBDbase, DM->IBTrans, defaultTerms(), false);
        QVERIFY(unread.size() > 150 && unread.last().owner.isEmpty());
        app::readShownFields(DM->IBDbase, DM->IBTrans, unread, 0, unread.size());
        for (qsizetype i = 0; i < unread.size(); ++i) QCOMPARE(app::reminderRow(unread[i]), app::reminderRow(full[i]));
    }

    // A database an older program made, with its visits: the upgrade keeps
    // the facts of every car, and the list is the one its contracts gave.
    void upgradeKeepsTheFactsOfEveryCar() {
        QTemporaryDir older;
        const QString mine = DM->IBDbase.databaseName, old = support::makeDatabaseAt(older, 6, "older.fdb");
        const int had = app::databaseSchema();
        auto attach = [](const QString& file) {
            DM->IBTrans.endRead();
            DM->IBDbase.close();
            DM->IBDbase.databaseName = file;
            DM->IBDbase.open();
        };
        attach(old);
        tools::Rng rng(8);
        for (int i = 0; i < 15; ++i) randomVisits(rng, support::addCar({{"owner", QStringLiteral("СТАРЫЙ %1").arg(i)}}), 1);
        const QStringList before = everyCar(false);
        QVERIFY(before.size() > 10);
        DM->IBTrans.endRead();
        DM->IBDbase.close();
        {
            fb::Connection db;
            db.databaseName = old;
            db.open();
            QCOMPARE(app::applySchemaSteps(db, QStringLiteral("tests")), app::newestSchemaVersion());
        }
        DM->IBDbase.open();
        QCOMPARE(everyCar(true), before);
        attach(mine);
        app::setDatabaseSchema(had);
    }

    // torquil-db report reminders: the header and the rows the window shows,
    // as CSV with semicolons; an unknown option is refused.
    void reportCsv() {
        QString out, err;
        QTextStream o(&out), e(&err);
        QCOMPARE(tools::reportCommand({"reminders", path, "--days", "0", "--csv"}, o, e), 0);
        QStringList lines = out.split(u'\n');
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.takeFirst(), app::reminderHeader().join(u';'));
        app::ReminderTerms t = defaultTerms();
        t.days = 0;
        QStringList expected;
        for (const app::Reminder& r : currentList(t)) expected << app::reminderRow(r).join(u';');
        QCOMPARE(lines, expected);
        QVERIFY(lines.join(u'\n').contains(QStringLiteral("ПРОСРОЧЕНО")));
        QCOMPARE(tools::reportCommand({"reminders", path, "--weeks", "2"}, o, e), 2);
        QVERIFY(err.contains(QStringLiteral("unknown option '--weeks'")));
    }
};

TORQUIL_TEST_MAIN(TestReminders)
#include "tst_reminders.moc"
