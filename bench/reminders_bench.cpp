// The reminders case of torquil-bench: the cars due for service over the
// whole database, computed as the window and torquil-db compute them and as
// the window shows them, beside the engine's bare fetch of the statements
// they are built from.
#include "app/DM.h"
#include "app/Reminders.h"
#include "fb/Query.h"
#include "reports/NR.h"
#include "widgets/StringGrid.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        f();
        ms.push_back(e.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

void benchReminders(int runs) {
    app::ReminderTerms terms;
    terms.today = QDate::currentDate();
    app::readServiceInterval(DM->IBDbase, DM->IBTrans, terms);
    int listed = 0;
    const double computed = medianMs(runs, [&] {
        listed = int(app::dueForService(DM->IBDbase, DM->IBTrans, terms).size());
    });
    const double window = medianMs(runs, [] { NR->FormActivate(); });
    fb::Query contracts(&DM->IBDbase, &DM->IBTrans), cars(&DM->IBDbase, &DM->IBTrans);
    contracts.setSQL({QStringLiteral("SELECT cr_fk, pk_id, c_date, km, next_date, next_km, reminded FROM Contracts"),
                      QStringLiteral("WHERE c_date IS NOT NULL AND cr_fk IS NOT NULL")});
    cars.setSQL({QStringLiteral("SELECT pk_id, owner, phone, dev, mod, gnum, region FROM Cars")});
    const double engine = medianMs(runs, [&] {
        for (fb::Query* q : {&contracts, &cars}) {
            q->close();
            q->open();
        }
    });
    auto alone = [runs](fb::Query& q) {
        return medianMs(runs, [&q] {
            q.close();
            q.open();
        });
    };
    const double contractsOnly = alone(contracts), carsOnly = alone(cars);
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
                "rows=%d grid_rows=%d limit_ms=100\n",
                window, computed, engine, contractsOnly, carsOnly, groupedMs, listed, NR->Grid_rem->rowCount() - 1);
    std::fflush(stdout);
}
