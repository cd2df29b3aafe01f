// The demo and benchmark databases that torquil-db makes: what they hold and
// that the program's own statements see all of it.
#include "app/Columns.h"
#include "app/DM.h"
#include "cars/CarFields.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "support/TestDb.h"
#include "tools/DbTools.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using support::rows;

int number(fb::Connection& db, const QString& sql) { return rows(db, sql).value(0).toInt(); }

QString isoDate(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

}  // namespace

class TestDbTools : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    TDM dm;               // the demo of 14.03.2025, read through the program's statements
    fb::Connection newYear;  // the same demo made on 1 January
    const QDate today{2025, 3, 14};
    const QDate jan1{2024, 1, 1};

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        tools::createDatabase(dm.IBDbase, dir.filePath("demo.fdb"));
        tools::fillDemo(dm.IBDbase, today);
        tools::createDatabase(newYear, dir.filePath("demo_jan1.fdb"));
        tools::fillDemo(newYear, jan1);
    }

    // The fields' lengths are the declared lengths of the text columns.
    void columnLengthsFollowTheSchema() {
        namespace car = app::columns::cars;
        namespace contract = app::columns::contracts;
        const QString sql = "SELECT TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_LENGTH FROM RDB$RELATION_FIELDS rf "
                            "JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                            "WHERE rf.RDB$RELATION_NAME = '%1' AND f.RDB$FIELD_TYPE = 37 "
                            "AND rf.RDB$FIELD_NAME <> 'SYSINFO' ORDER BY 1";
        const auto pairs = [](std::initializer_list<std::pair<const char*, int>> list) {
            QStringList out;
            for (const auto& [name, length] : list) out << QString("%1|%2").arg(name).arg(length);
            return out;
        };
        QCOMPARE(rows(dm.IBDbase, sql.arg("CARS")),
                 pairs({{"BODY", car::body}, {"BODY2", car::body2}, {"COLOR", car::color}, {"DEV", car::dev},
                        {"ENGINE", car::engine}, {"ENGINE2", car::engine2}, {"GNUM", car::gnum}, {"MOD", car::mod},
                        {"OWNER", car::owner}, {"PHONE", car::phone}, {"REGION", car::region}, {"VIN", car::vin}}));
        QCOMPARE(rows(dm.IBDbase, sql.arg("CONTRACTS")), pairs({{"ACCEPT_NOTE", contract::accept_note},
                                                                    {"CUST_ADDRESS", contract::cust_address},
                                                                    {"EXTRA_RULE", contract::extra_rule},
                                                                    {"MEH", contract::meh}, {"REM", contract::rem}}));
        QCOMPARE(QString::number(std::numeric_limits<qint32>::min()).size(), app::columns::kInteger);
    }

    void demoCounts() {
        fb::Connection& db = dm.IBDbase;
        QCOMPARE(number(db, "SELECT COUNT(*) FROM meh"), 4);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Cars"), 60);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts"), 300);
        QVERIFY(number(db, "SELECT COUNT(*) FROM Works") >= 30);
        QVERIFY(number(db, "SELECT COUNT(*) FROM Spares") >= 30);
        QVERIFY(number(db, "SELECT COUNT(*) FROM dev") >= 10);
        // Every master has details, every detail a master, and each name stands once.
        const QList<QStringList> twoLevel = {
            {"dev", "models", "dv_fk"}, {"engines", "engine_sp", "en_fk"}, {"body", "body_sp", "bd_fk"}};
        for (const QStringList& t : twoLevel) {
            const QString &master = t[0], &detail = t[1], &fk = t[2];
            QCOMPARE(number(db, QString("SELECT COUNT(*) FROM %1 m WHERE NOT EXISTS "
                                        "(SELECT 1 FROM %2 d WHERE d.%3 = m.pk_id)").arg(master, detail, fk)), 0);
            QCOMPARE(number(db, QString("SELECT COUNT(*) FROM %2 d WHERE NOT EXISTS "
                                        "(SELECT 1 FROM %1 m WHERE d.%3 = m.pk_id)").arg(master, detail, fk)), 0);
            QCOMPARE(number(db, QString("SELECT COUNT(*) - COUNT(DISTINCT name) FROM %1").arg(master)), 0);
            QCOMPARE(number(db, QString("SELECT COUNT(*) FROM (SELECT %2, name FROM %1 GROUP BY %2, name "
                                        "HAVING COUNT(*) > 1)").arg(detail, fk)), 0);
        }
        for (const QString t : {"Works", "Spares", "meh"})
            QCOMPARE(number(db, QString("SELECT COUNT(*) - COUNT(DISTINCT name) FROM %1").arg(t)), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Works WHERE price IS NULL OR price <= 0"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Spares WHERE price IS NULL OR price <= 0"), 0);
    }

    // With empty filters the journal and the car picker list everything:
    // a NULL in any filtered column would hide its row.
    void demoProgramStatementsListEverything() {
        fb::Query& doc = dm.iDoc;
        for (const char* p : {"dev", "mod", "gnum", "region", "vin", "engine", "body", "engine2", "body2"})
            doc.setString(p, "%");
        doc.setDate("d1", QDate(today.year() - 1, 1, 1));
        doc.setDate("d2", today);
        doc.open();
        QCOMPARE(doc.recordCount(), 300);
        doc.setDate("d1", QDate(today.year(), 1, 1));  // the journal's ГОД
        doc.setDate("d2", QDate(today.year(), 12, 31));
        doc.open();
        const int thisYear = doc.recordCount();
        QCOMPARE(thisYear, number(dm.IBDbase, QString("SELECT COUNT(*) FROM Contracts WHERE c_date >= '%1'")
                                                  .arg(isoDate(QDate(today.year(), 1, 1)))));
        QVERIFY(thisYear > 16);
        doc.close();

        fb::Query& car = dm.iCar_f;
        for (const char* p : {"dev", "mod", "gnum", "region", "d_year", "vin", "color", "engine", "engine2", "body",
                              "body2", "owner", "phone"})
            car.setString(p, "%");
        car.open();
        QCOMPARE(car.recordCount(), 60);
        car.close();
        dm.IBTrans.commit();
    }

    void demoCarsWellFormed() {
        fb::Connection& db = dm.IBDbase;
        const QRegularExpression plate("^[АВЕКМНОРСТУХ]\\d{3}[АВЕКМНОРСТУХ]{2}$");
        const QRegularExpression region("^\\d{2,3}$");
        const QRegularExpression vin("^[A-HJ-NPR-Z0-9]{17}$");
        const QRegularExpression owner("^[А-ЯЁ]+ [А-ЯЁ]+ [А-ЯЁ]+$");
        const QRegularExpression phone("^\\+7 \\d{3} \\d{3}-\\d{2}-\\d{2}$");
        const QStringList cars = rows(db, "SELECT gnum, region, vin, owner, phone, color, d_year, km FROM Cars");
        QCOMPARE(cars.size(), 60);
        QSet<QString> plates;
        for (const QString& row : cars) {
            const QStringList c = row.split(u'|');
            QVERIFY2(plate.match(c[0]).hasMatch(), qPrintable(row));
            QVERIFY2(region.match(c[1]).hasMatch(), qPrintable(row));
            QVERIFY2(vin.match(c[2]).hasMatch(), qPrintable(row));
            QVERIFY2(owner.match(c[3]).hasMatch(), qPrintable(row));
            QVERIFY2(phone.match(c[4]).hasMatch(), qPrintable(row));
            QVERIFY2(cars::colourNames().contains(c[5]), qPrintable(row));  // a typed colour finds it
            QVERIFY2(c[6].toInt() >= 1990 && c[6].toInt() < today.year(), qPrintable(row));
            QVERIFY2(c[7].toInt() > 0, qPrintable(row));
            plates.insert(c[0]);
        }
        QCOMPARE(plates.size(), 60);
        // The names are copies of dictionary entries, the details of their own master.
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Cars c WHERE NOT EXISTS (SELECT 1 FROM dev d "
                            "JOIN models m ON m.dv_fk = d.pk_id WHERE d.name = c.dev AND m.name = c.mod)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Cars c WHERE NOT EXISTS (SELECT 1 FROM engines e "
                            "JOIN engine_sp s ON s.en_fk = e.pk_id WHERE e.name = c.engine AND s.name = c.engine2)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Cars c WHERE NOT EXISTS (SELECT 1 FROM body b "
                            "JOIN body_sp s ON s.bd_fk = b.pk_id WHERE b.name = c.body AND s.name = c.body2)"), 0);
    }

    void demoContractsAndLines() {
        fb::Connection& db = dm.IBDbase;
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts ct WHERE NOT EXISTS "
                            "(SELECT 1 FROM Cars cr WHERE cr.pk_id = ct.cr_fk)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts ct WHERE NOT EXISTS "
                            "(SELECT 1 FROM meh m WHERE m.name = ct.meh)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts WHERE rem IS NULL"), 0);
        const int withRemark = number(db, "SELECT COUNT(*) FROM Contracts WHERE rem <> ''");
        QVERIFY(withRemark > 30 && withRemark < 270);
        // 1 to 6 works and 0 to 5 spares each.
        const QStringList lines = rows(db, "SELECT (SELECT COUNT(*) FROM CT_Works w WHERE w.ct_fk = ct.pk_id), "
                                           "(SELECT COUNT(*) FROM CT_Spares s WHERE s.ct_fk = ct.pk_id) FROM Contracts ct");
        QCOMPARE(lines.size(), 300);
        QSet<int> workCounts, spareCounts;
        for (const QString& row : lines) {
            workCounts.insert(row.section(u'|', 0, 0).toInt());
            spareCounts.insert(row.section(u'|', 1, 1).toInt());
        }
        QCOMPARE(workCounts, QSet<int>({1, 2, 3, 4, 5, 6}));
        QCOMPARE(spareCounts, QSet<int>({0, 1, 2, 3, 4, 5}));
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Spares WHERE num IS NULL OR num < 1 OR num > 4"), 0);
        // Lines are copies of catalogue rows.
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Works l WHERE NOT EXISTS "
                            "(SELECT 1 FROM Works w WHERE w.name = l.name AND w.price = l.price)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Spares l WHERE NOT EXISTS "
                            "(SELECT 1 FROM Spares s WHERE s.name = l.name AND s.price = l.price)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Works l WHERE NOT EXISTS "
                            "(SELECT 1 FROM Contracts c WHERE c.pk_id = l.ct_fk)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Spares l WHERE NOT EXISTS "
                            "(SELECT 1 FROM Contracts c WHERE c.pk_id = l.ct_fk)"), 0);
    }

    // Each visit has the car's mileage then, growing with the date and never
    // past the car's own; the next service a year and 15,000 km on.
    void demoMileage() {
        fb::Connection& db = dm.IBDbase;
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts WHERE km IS NULL OR next_date IS NULL OR next_km IS NULL"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts a JOIN Contracts b ON a.cr_fk = b.cr_fk "
                            "AND a.c_date < b.c_date AND a.km > b.km"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts ct JOIN Cars cr ON cr.pk_id = ct.cr_fk WHERE ct.km > cr.km"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts WHERE next_km <> km + 15000 "
                            "OR next_date <> DATEADD(12 MONTH TO c_date)"), 0);
        QVERIFY(number(db, "SELECT COUNT(*) FROM Contracts a JOIN Contracts b ON a.cr_fk = b.cr_fk "
                           "AND a.c_date < b.c_date AND a.km < b.km") > 100);
    }

    void demoDatesAndNumbers_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("14.03.2025") << 0;
        QTest::newRow("01.01.2024") << 1;
    }
    void demoDatesAndNumbers() {
        QFETCH(int, which);
        fb::Connection& db = which == 0 ? dm.IBDbase : newYear;
        const QDate day = which == 0 ? today : jan1;
        const QStringList list = rows(db, "SELECT num, CAST(c_date AS VARCHAR(10)) FROM Contracts ORDER BY num");
        QCOMPARE(list.size(), 300);
        // Numbers from the generator, 1 to 300, following the dates.
        QDate previous;
        for (int i = 0; i < list.size(); ++i) {
            QCOMPARE(list[i].section(u'|', 0, 0).toInt(), i + 1);
            const QDate d = QDate::fromString(list[i].section(u'|', 1, 1).left(10), Qt::ISODate);
            QVERIFY2(d.isValid(), qPrintable(list[i]));
            QVERIFY2(d >= QDate(day.year() - 1, 1, 1) && d <= day, qPrintable(list[i]));
            if (previous.isValid()) QVERIFY(d >= previous);
            previous = d;
        }
        QCOMPARE(number(db, "SELECT gen_id(gen_doc_num, 0) FROM RDB$DATABASE"), 300);
        QVERIFY(number(db, QString("SELECT COUNT(*) FROM Contracts WHERE c_date = '%1'").arg(isoDate(day))) >= 4);
        QVERIFY(number(db, QString("SELECT COUNT(*) FROM Contracts WHERE c_date > '%1'")
                               .arg(isoDate(day.addDays(-10)))) >= 16);
        // The spread part reaches back into last year.
        QVERIFY(number(db, QString("SELECT COUNT(*) FROM Contracts WHERE c_date < '%1'")
                               .arg(isoDate(QDate(day.year() - 1, 7, 1)))) > 50);
        // No car is younger than its contracts.
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts ct JOIN Cars cr ON ct.cr_fk = cr.pk_id "
                            "WHERE cr.d_year > EXTRACT(YEAR FROM ct.c_date)"), 0);
    }

    // The same data on every run; only what depends on the date moves.
    void demoIsRepeatable() {
        const QString cars = "SELECT dev, mod, gnum, region, color, engine, engine2, body, body2, owner, phone "
                             "FROM Cars ORDER BY pk_id";
        const QString contracts = "SELECT num, meh, rem, cr_fk FROM Contracts ORDER BY num";
        const QString works = "SELECT c.num, w.name, w.price FROM CT_Works w JOIN Contracts c ON c.pk_id = w.ct_fk "
                              "ORDER BY w.pk_id";
        const QString spares = "SELECT c.num, s.name, s.price, s.num FROM CT_Spares s "
                               "JOIN Contracts c ON c.pk_id = s.ct_fk ORDER BY s.pk_id";
        for (const QString& sql : {cars, contracts, works, spares}) {
            const QStringList a = rows(dm.IBDbase, sql), b = rows(newYear, sql);
            QVERIFY(!a.isEmpty());
            QCOMPARE(a, b);
        }
    }

    void benchSmallSizes() {
        fb::Connection db;
        tools::createDatabase(db, dir.filePath("bench.fdb"));
        tools::BenchSize size;
        // Not multiples of the statement batches, so that the last short batches are written too.
        size.contracts = 203;
        size.cars = 51;
        size.works = 30;
        size.spares = 41;
        tools::fillBench(db, size);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts"), 203);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Cars"), 51);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Works"), 30);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Spares"), 41);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Works"), 203 * 5);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Spares"), 203 * 3);
        // Every contract has exactly its lines, under its own key.
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts ct WHERE "
                            "(SELECT COUNT(*) FROM CT_Works w WHERE w.ct_fk = ct.pk_id) <> 5 OR "
                            "(SELECT COUNT(*) FROM CT_Spares s WHERE s.ct_fk = ct.pk_id) <> 3"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts ct WHERE NOT EXISTS "
                            "(SELECT 1 FROM Cars cr WHERE cr.pk_id = ct.cr_fk)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(DISTINCT num) FROM Contracts"), 203);
        QCOMPARE(number(db, "SELECT MIN(num) FROM Contracts"), 1);
        QCOMPARE(number(db, "SELECT MAX(num) FROM Contracts"), 203);
        QCOMPARE(number(db, "SELECT COUNT(DISTINCT name) FROM Works"), 30);
        QCOMPARE(number(db, "SELECT COUNT(DISTINCT name) FROM Spares"), 41);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Works l WHERE NOT EXISTS "
                            "(SELECT 1 FROM Works w WHERE w.name = l.name AND w.price = l.price)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Spares l WHERE NOT EXISTS "
                            "(SELECT 1 FROM Spares s WHERE s.name = l.name AND s.price = l.price)"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM CT_Spares WHERE num < 1 OR num > 4"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Cars WHERE dev IS NULL OR mod IS NULL OR gnum IS NULL OR "
                            "region IS NULL OR d_year IS NULL OR vin IS NULL OR color IS NULL OR engine IS NULL OR "
                            "engine2 IS NULL OR body IS NULL OR body2 IS NULL OR km IS NULL OR owner IS NULL OR "
                            "phone IS NULL"), 0);
        QCOMPARE(number(db, "SELECT COUNT(DISTINCT gnum) FROM Cars"), 51);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts WHERE meh IS NULL OR rem IS NULL"), 0);
        // Ten years up to today, in number order.
        const QDate now = QDate::currentDate();
        const QStringList dates = rows(db, "SELECT CAST(c_date AS VARCHAR(10)) FROM Contracts ORDER BY num");
        QCOMPARE(dates.size(), 203);
        for (int i = 0; i < dates.size(); ++i) {
            const QDate d = QDate::fromString(dates[i].left(10), Qt::ISODate);
            QVERIFY2(d > now.addYears(-10) && d <= now, qPrintable(dates[i]));
            if (i) QVERIFY(dates[i] >= dates[i - 1]);
        }
        QVERIFY(dates.first().left(4).toInt() <= now.year() - 9);
        QVERIFY(dates.last().left(4).toInt() == now.year());
        // Filling switches forced writes off; the database gets them back.
        QCOMPARE(number(db, "SELECT MON$FORCED_WRITES FROM MON$DATABASE"), 1);
        db.close();
    }

    void benchWithoutCarsOrContracts() {
        fb::Connection db;
        tools::BenchSize size;
        size.cars = 0;
        QVERIFY_THROWS_EXCEPTION(fb::Error, tools::fillBench(db, size));

        tools::createDatabase(db, dir.filePath("bench_cars.fdb"));
        size.contracts = 0;
        size.cars = 9;
        size.works = 0;
        size.spares = 0;
        tools::fillBench(db, size);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Cars"), 9);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Contracts"), 0);
        QCOMPARE(number(db, "SELECT COUNT(*) FROM Works"), 0);
        db.close();
    }

};

QTEST_MAIN(TestDbTools)
#include "tst_dbtools.moc"
