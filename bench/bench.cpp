// torquil-bench: times the windows' own fills on a large database against the
// engine's bare fetch of the same statement with the same parameters.
#include "app/Connect.h"
#include "app/DM.h"
#include "program/Windows.h"
#include "app/Lookup.h"
#include "app/SchemaUpgrade.h"
#include "rtl/ProgramFolder.h"
#include "cars/CF2.h"
#include "cars/DC.h"
#include "cars/HS.h"
#include "catalogues/SP.h"
#include "contracts/CF.h"
#include "contracts/CF3.h"
#include "contracts/JournalPeriod.h"
#include "contracts/MF.h"
#include "fb/Connection.h"
#include "fb/Query.h"
#include "tools/DbTools.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Messages.h"
#include "widgets/UpperCombo.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

int runs = 5;
QString only;  // --case NAME: time just that case

bool wanted(const char* name) { return only.isEmpty() || only == QLatin1String(name); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msOf(const std::function<void()>& f) {
    QElapsedTimer e;
    e.start();
    f();
    return e.nsecsElapsed() / 1e6;
}

// The engine's bare fetch of the same statement as `q` on the program's
// connection, parameters set by `bind`: one open() per call.
std::function<void()> engineFetch(const fb::Query& q, std::function<void(fb::Query&)> bind) {
    auto e = std::make_shared<fb::Query>(&DM->IBDbase, &DM->IBTrans);
    e->setSQL(q.sql());
    return [e, bind = std::move(bind)] {
        e->close();
        bind(*e);
        e->open();
    };
}

// Runs `app` and `engine` in turn, `runs` times each, so that both see the
// same state of the machine, and prints their medians. `before`, untimed,
// runs before each `app`.
void report(const char* name, const std::function<void()>& app, const std::function<void()>& engine,
            const std::function<void()>& before = {}) {
    if (!wanted(name)) return;
    std::vector<double> a, e;
    for (int i = 0; i < runs; ++i) {
        if (before) before();
        a.push_back(msOf(app));
        e.push_back(msOf(engine));
    }
    const double am = median(a), em = median(e);
    std::printf("%s app_ms=%.2f engine_ms=%.2f ratio=%.2f\n", name, am, em, em > 0 ? am / em : 0.0);
    std::fflush(stdout);
}

void bindJournal(fb::Query& q) {
    const char* params[] = {"dev", "mod", "gnum", "region", "engine", "body", "engine2", "body2", "vin"};
    widgets::UpperCombo* boxes[] = {MF->Box1, MF->Box2, MF->Box3, MF->Box4, MF->Box8,
                                    MF->Box9, MF->Box81, MF->Box91, MF->Box6};
    for (int i = 0; i < 9; ++i)
        app::bindPrefix(q, QString::fromLatin1(params[i]), boxes[i]->text(), boxes[i]->maxLength());
    const JournalPeriod p = journalPeriod(MF->Box10->currentIndex(), QDate::currentDate());
    q.setDateTime(QStringLiteral("d1"), QDateTime(p.d1, QTime(0, 0)));
    q.setDateTime(QStringLiteral("d2"), QDateTime(p.d2, QTime(0, 0)));
}

long peakRssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

struct Options {
    tools::BenchSize size;
    QString dbPath;
};

// The command line; false (after the usage line) when it is not understood.
bool parseArguments(const QStringList& args, Options& options) {
    tools::BenchSize& size = options.size;
    QString& dbPath = options.dbPath;
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        auto num = [&] { return i + 1 < args.size() ? args[++i].toInt() : 0; };
        if (o == QLatin1String("--quick")) size.contracts = 10000, size.cars = 5000, size.works = 200, size.spares = 500;
        else if (o == QLatin1String("--contracts")) size.contracts = num();
        else if (o == QLatin1String("--cars")) size.cars = num();
        else if (o == QLatin1String("--runs")) runs = std::max(1, num());
        else if (o == QLatin1String("--db")) dbPath = i + 1 < args.size() ? args[++i] : QString();
        else if (o == QLatin1String("--case")) only = i + 1 < args.size() ? args[++i] : QString();
        else {
            std::fprintf(stderr, "usage: torquil-bench [--quick] [--contracts N --cars M] [--db PATH] [--runs K] [--case NAME]\n");
            return false;
        }
    }
    return true;
}

// A database of the given size in `dir`, or path.txt there naming the one
// given; then the windows, started on it as the program starts. False when
// the start-up said something (on standard error).
bool startOn(const Options& options, const QTemporaryDir& dir) {
    const tools::BenchSize& size = options.size;
    const QString& dbPath = options.dbPath;
    if (dbPath.isEmpty()) {
        QElapsedTimer t;
        t.start();
        fb::Connection db;
        tools::createDatabase(db, dir.filePath(QStringLiteral("dbase.fdb")));
        tools::fillBench(db, size);
        db.close();
        std::printf("database: %d contracts, %d cars, %d works, %d spares in %.1f s\n", size.contracts, size.cars,
                    size.works, size.spares, t.elapsed() / 1000.0);
    } else {
        QFile p(dir.filePath(QStringLiteral("path.txt")));
        p.open(QIODevice::WriteOnly);
        p.write(dbPath.toUtf8() + "\n");
    }
    rtl::setProgramFolder(dir.path());
    {
        // Whatever start-up would show goes to standard error instead.
        widgets::MessageRecorder startup;
        program::createForms();
        if (!app::terminationRequested()) MF->FormActivate();
        for (const auto& m : startup.entries())
            std::fprintf(stderr, "torquil-bench: %s\n", qPrintable(widgets::displayedText(m.text)));
        if (!startup.isEmpty() || app::terminationRequested()) return false;
    }
    return true;
}

// The journal over every period, its year and a typed make; returns the
// peak memory with the whole journal listed.
double benchJournal() {
    MF->Box10->setCurrentIndex(4);
    report("journal_all", [] { MF->RefillJournal(); }, engineFetch(DM->iDoc, bindJournal));
    const double rss = peakRssKb() / 1024.0;
    MF->Box10->setCurrentIndex(3);
    report("journal_year", [] { MF->RefillJournal(); }, engineFetch(DM->iDoc, bindJournal));
    MF->Box10->setCurrentIndex(4);
    MF->Box1->setText(QStringLiteral("В"));  // ВАЗ
    report("journal_key", [] { QMetaObject::invokeMethod(MF, "Box1Change"); }, engineFetch(DM->iDoc, bindJournal));
    MF->Box1->setText(QString());
    return rss;
}

// The car picker: every car, then a typed make.
void benchCarPicker() {
    report("cars_all", [] { CF2->FormActivate(); },
           engineFetch(DM->iCar_f, [](fb::Query& q) { CF2->bindFilter(q); }));
    CF2->Box1->setText(QStringLiteral("ВА"));
    report("cars_key", [] { CF2->FilterCars(); },
           engineFetch(DM->iCar_f, [](fb::Query& q) { CF2->bindFilter(q); }));
    CF2->Box1->setText(QString());
}

// The directory: its opening against the engine's read of its list; then its
// search, a first keystroke just after the list was read (the search folds
// the rows then), and a later one once a few digits of a phone are typed;
// the engine's figure is the read of the list, for scale.
void benchDirectory() {
    const auto readList = engineFetch(DM->iCar, [](fb::Query&) {});
    report("dc_open", [] { DC->FormActivate(); }, readList, [] { DC->EditFind->clear(); });
    report("car_search_first", [] { DC->EditFindChange(); }, readList, [] {
        DC->EditFind->clear();
        DC->FormActivate();
        DC->EditFind->setText(QStringLiteral("В"));
    });
    if (wanted("car_search")) {
        DC->EditFind->clear();
        DC->FormActivate();
        DC->EditFind->setText(QStringLiteral("В"));
        DC->EditFindChange();
        DC->EditFind->setText(QStringLiteral("8421"));
        report("car_search", [] { DC->EditFindChange(); }, readList);
        std::printf("car_search rows=%d\n", DC->Grid_cars->rowCount() - 1);
    }
    DC->EditFind->clear();
}

// The works picker with a typed letter.
void benchWorks() {
    CF3->Box1->setText(QStringLiteral("З"));
    const QString wp = app::prefixPattern(CF3->Box1->text(), CF3->kind().nameLength);
    report("works_key", [] { CF3->FillList(); },
           engineFetch(DM->iWork_f, [wp](fb::Query& q) { q.setString(QStringLiteral("name"), wp); }));
}

// The smallest key of a table.
int firstKey(const char* table) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT MIN(pk_id) AS k FROM %1").arg(QLatin1String(table)));
    q.open();
    const int key = q.field(QStringLiteral("k")).asInteger();
    q.close();
    return key;
}

// Opening a contract with 50 work lines.
void benchLoadDoc() {
    fb::Query& q = DM->iSQL;
    const QString key = QString::number(firstKey("Contracts"));
    // Topped up to 50 work lines, so that a database given with --db keeps that size.
    TDM::reset(q, QStringLiteral("SELECT COUNT(*) AS n FROM CT_Works WHERE ct_fk = :ct"));
    q.setString(QStringLiteral("ct"), key);
    q.open();
    const int have = int(q.field(QStringLiteral("n")).asInteger());
    q.close();
    TDM::reset(q, QStringLiteral("INSERT INTO CT_Works (pk_id, ct_fk, name, price) "
                                 "VALUES (GEN_ID(gen_ct_works_id, 1), :ct, :name, :price)"));
    for (int i = have; i < 50; ++i) {
        q.setString(QStringLiteral("ct"), key);
        q.setString(QStringLiteral("name"), QStringLiteral("РАБОТА %1").arg(i));
        q.setFloat(QStringLiteral("price"), 100 + i);
        q.execSQL();
    }
    DM->IBTrans.commit();
    fb::Query e(&DM->IBDbase, &DM->IBTrans);
    e.setSQL({QStringLiteral("SELECT * FROM Contracts ct INNER JOIN CARS cr ON ct.cr_fk=cr.pk_id "
                             "WHERE ct.pk_id = :pk_id")});
    fb::Query w(&DM->IBDbase, &DM->IBTrans), s(&DM->IBDbase, &DM->IBTrans);
    w.setSQL({QStringLiteral("SELECT * FROM CT_Works WHERE ct_fk = :ct_fk")});
    s.setSQL({QStringLiteral("SELECT * FROM CT_Spares WHERE ct_fk = :ct_fk")});
    auto eng = [&] {
        for (fb::Query* x : {&e, &w, &s}) {
            x->close();
            x->setString(x == &e ? QStringLiteral("pk_id") : QStringLiteral("ct_fk"), key);
            x->open();
        }
    };
    report("load_doc", [&] { CF->LoadDoc(key); }, eng);
}

// The service history of a car with 200 contracts (the first 200 contracts
// given to one car, their lines with them).
void benchHistory() {
    fb::Query& q = DM->iSQL;
    const int car = firstKey("Cars");
    TDM::reset(q, QStringLiteral("UPDATE Contracts SET cr_fk = :car WHERE pk_id IN "
                                 "(SELECT FIRST 200 pk_id FROM Contracts ORDER BY pk_id)"));
    q.setInteger(QStringLiteral("car"), car);
    DM->execCommit(q);
    HS->CarKey = QString::number(car);
    std::vector<std::shared_ptr<fb::Query>> e;
    for (const char* sql : {"SELECT w.ct_fk, w.price FROM CT_Works w INNER JOIN Contracts ct "
                            "ON w.ct_fk = ct.pk_id + 0 WHERE ct.cr_fk = :cr_fk",
                            "SELECT s.ct_fk, s.price, s.num FROM CT_Spares s INNER JOIN Contracts ct "
                            "ON s.ct_fk = ct.pk_id + 0 WHERE ct.cr_fk = :cr_fk",
                            app::hasSchema(1) ? "SELECT pk_id, num, c_date, meh, km FROM Contracts WHERE cr_fk = :cr_fk "
                                                "ORDER BY c_date DESC, num DESC, pk_id DESC"
                                              : "SELECT pk_id, num, c_date, meh FROM Contracts WHERE cr_fk = :cr_fk "
                                                "ORDER BY c_date DESC, num DESC, pk_id DESC"}) {
        e.push_back(std::make_shared<fb::Query>(&DM->IBDbase, &DM->IBTrans));
        e.back()->setSQL({QString::fromLatin1(sql)});
    }
    report("history_200", [] { HS->FormActivate(); }, [e, car] {
        for (const auto& x : e) {
            x->close();
            x->setInteger(QStringLiteral("cr_fk"), car);
            x->open();
        }
    });
    std::printf("history_200 rows=%d\n", HS->Grid_hist->rowCount() - 1);
}

}  // namespace

void benchPrintPdf(int runs);  // bench/print_bench.cpp
void benchPayments(int runs, const std::function<bool(const char*)>& wanted,
                   const std::function<void(const char*, const std::function<void()>&, const std::function<void()>&)>& report,
                   const std::function<std::function<void()>()>& journalFetch);  // bench/payments_bench.cpp
void benchChangeLog(int runs);  // bench/changelog_bench.cpp
void benchReminders(int runs);  // bench/reminders_bench.cpp
void benchOwner(int runs, const std::function<bool(const char*)>& wanted);  // bench/owner_bench.cpp
void benchHistoryMileage(int runs);  // bench/history_bench.cpp
void benchOrderPdf(int runs);  // bench/order_bench.cpp
void benchSpares(int runs, const std::function<bool(const char*)>& wanted);  // bench/spares_bench.cpp

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::Application a(argc, argv);
    Options options;
    if (!parseArguments(a.arguments().mid(1), options)) return 2;
    // The program would say so in a message box that nobody sees here.
    const QString& dbPath = options.dbPath;
    if (!dbPath.isEmpty() && !fb::Connection::isRemotePath(dbPath) && !QFileInfo(dbPath).isFile()) {
        std::fprintf(stderr, "torquil-bench: database file not found: %s\n", qPrintable(dbPath));
        return 2;
    }
    QTemporaryDir dir;
    try {
        if (!startOn(options, dir)) return 1;
        const double rss = benchJournal();
        benchCarPicker();
        benchDirectory();
        benchWorks();
        benchSpares(runs, wanted);
        benchLoadDoc();
        benchHistory();
        if (wanted("history_km")) benchHistoryMileage(runs);
        report("catalogue", [] { SP->FormActivate(); }, engineFetch(DM->iSP, [](fb::Query&) {}));
        if (wanted("print_pdf_120")) benchPrintPdf(runs);
        benchPayments(runs, wanted, [](const char* n, const std::function<void()>& a, const std::function<void()>& e) { report(n, a, e); },
                      [] { return engineFetch(DM->iDoc, bindJournal); });
        if (wanted("save_120_lines_logged")) benchChangeLog(runs);
        if (wanted("reminders")) benchReminders(runs);
        benchOwner(runs, wanted);
        if (wanted("order_pdf_120")) benchOrderPdf(runs);
        std::printf("rss_mb=%.0f\n", std::max(rss, peakRssKb() / 1024.0));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torquil-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
