// The reminders case of torquil-bench: the cars due for service over the
// whole database, computed as the window and torquil-db compute them and as
// the window shows them, beside the engine's bare fetch of the statements
// they are built from.
#include "app/DM.h"
#include "app/Reminders.h"
#include "app/SchemaUpgrade.h"
#include "fb/Query.h"
#include "reports/NR.h"
#include "widgets/StringGrid.h"

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The median of `runs` in wall-clock ms; `cpu`, when given, gets the median
// of the process's CPU time (the embedded engine works in the process), the
// figure that holds on a machine busy with other work.
double medianMs(int runs, const std::function<void()>& f, double* cpu = nullptr) {
    std::vector<double> ms, cpuMs;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        const std::clock_t c0 = std::clock();
        f();
        cpuMs.push_back(double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
        ms.push_back(e.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    if (cpu) *cpu = cpuMs[cpuMs.size() / 2];
    return ms[ms.size() / 2];
}

}  // namespace

void benchReminders(int runs) {
    app::ReminderTerms terms;
    terms.today = QDate::currentDate();
    app::readServiceInterval(DM->IBDbase, DM->IBTrans, terms);
    int listed = 0;
    double computedCpu = 0, windowCpu = 0;
    const double computed = medianMs(runs, [&] {
        listed = int(app::dueForService(DM->IBDbase, DM->IBTrans, terms).size());
    }, &computedCpu);
    // The window as it first shows: the list and the first screen of rows
    // with their owners (40 rows, more than the window's height holds).
    const double window = medianMs(runs, [] {
        NR->FormActivate();
        for (int row = 1; row <= 40 && row < NR->Grid_rem->rowCount(); ++row) NR->Grid_rem->cell(1, row);
    }, &windowCpu);
    auto alone = [runs](fb::Query& q) {
        return medianMs(runs, [&q] {
            q.close();
            q.open();
        });
    };
    if (app::hasSchema(8)) {
        // The window's one statement: the facts kept per car of the cars that
        // may be due (`fetched`: how many); the window reads the shown fields
        // of a screen's cars as it shows them, the list with them all
        // (`list_ms`, as the report and the printout) reads them in the same
        // statement.
        fb::Query visits(&DM->IBDbase, &DM->IBTrans);
        visits.setSQL(app::dueCarsStatement(false));
        app::bindDueCars(visits, terms);
        double engineCpu = 0;
        const double engine = medianMs(runs, [&visits] {
            visits.close();
            visits.open();
        }, &engineCpu);
        // The same list computed from every contract, as on a database
        // without the step.
        const int schema = app::databaseSchema();
        app::setDatabaseSchema(6);
        double contractsCpu = 0;
        const double fromContracts = medianMs(runs, [&] {
            app::dueForService(DM->IBDbase, DM->IBTrans, terms);
        }, &contractsCpu);
        app::setDatabaseSchema(schema);
        std::printf("reminders app_ms=%.2f list_ms=%.2f engine_ms=%.2f fetched=%d rows=%d grid_rows=%d "
                    "app_cpu_ms=%.2f list_cpu_ms=%.2f engine_cpu_ms=%.2f from_contracts_ms=%.2f "
                    "from_contracts_cpu_ms=%.2f limit_ms=100\n",
                    window, computed, engine, visits.rows().rowCount(), listed,
                    NR->Grid_rem->rowCount() - 1, windowCpu, computedCpu, engineCpu, fromContracts, contractsCpu);
        std::fflush(stdout);
        return;
    }
    fb::Query cars(&DM->IBDbase, &DM->IBTrans);
    cars.setSQL({QStringLiteral("SELECT pk_id, owner, phone, dev, mod, gnum, region FROM Cars")});
    const double carsOnly = alone(cars);
    fb::Query contracts(&DM->IBDbase, &DM->IBTrans);
    contracts.setSQL({QStringLiteral("SELECT cr_fk, pk_id, c_date, km, next_date, next_km, reminded FROM Contracts"),
                      QStringLiteral("WHERE c_date IS NOT NULL AND cr_fk IS NOT NULL")});
    double engineCpu = 0;
    const double engine = medianMs(runs, [&] {
        for (fb::Query* q : {&contracts, &cars}) {
            q->close();
            q->open();
        }
    }, &engineCpu);
    const double contractsOnly = alone(contracts);
    fb::Query grouped(&DM->IBDbase, &DM->IBTrans);
    grouped.setSQL({QStringLiteral(
        "SELECT cr_fk, MAX(DATEDIFF(DAY FROM DATE '1900-01-01' TO c_date) * 4294967296 + pk_id), "
        "MIN(DATEDIFF(DAY FROM DATE '1900-01-01' TO c_date) * 4294967296 + km), "
        "MAX(DATEDIFF(DAY FROM DATE '1900-01-01' TO c_date) * 4294967296 + km), "
        "MAX(CASE WHEN next_date IS NOT NULL OR next_km IS NOT NULL THEN "
        "DATEDIFF(DAY FROM DATE '1900-01-01' TO c_date) * 4294967296 + pk_id END), COUNT(km) "
        "FROM Contracts WHERE c_date IS NOT NULL GROUP BY cr_fk")});
    const double groupedMs = alone(grouped);
    std::printf("reminders app_ms=%.2f list_ms=%.2f engine_ms=%.2f contracts_ms=%.2f cars_ms=%.2f grouped_ms=%.2f "
                "rows=%d grid_rows=%d app_cpu_ms=%.2f list_cpu_ms=%.2f engine_cpu_ms=%.2f limit_ms=100\n",
                window, computed, engine, contractsOnly, carsOnly, groupedMs, listed, NR->Grid_rem->rowCount() - 1,
                windowCpu, computedCpu, engineCpu);
    std::fflush(stdout);
}
