// The owner's reports in torquil-bench: the twelve months of revenue and a
// year of mechanics' pay, computed on the benchmark database, beside the
// engine's bare fetch of the same statements (the sums kept per contract
// and the work lines; on an older database the grouped lines and counts).
#include "app/DM.h"
#include "app/MechanicPay.h"
#include "app/OwnerSchema.h"
#include "app/Revenue.h"
#include "fb/Query.h"

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The median of `runs` in wall-clock ms; `cpu`, when given, gets the median
// of the process's CPU time (the embedded engine runs in it), which a busy
// machine inflates less.
double medianMs(int runs, const std::function<void()>& f, double* cpu = nullptr) {
    std::vector<double> ms, cpuMs;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        const std::clock_t c0 = std::clock();
        e.start();
        f();
        ms.push_back(e.nsecsElapsed() / 1e6);
        cpuMs.push_back(double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    if (cpu) *cpu = cpuMs[cpuMs.size() / 2];
    return ms[ms.size() / 2];
}

// The statements the reports run (`select` over the period's contracts,
// joined with `lines` where named, grouped where `groups` says), fetched and
// dropped.
struct Statement {
    QString select, lines, groups;
    bool cars = true;  // joined with the contract's car; else the contract only has one
};

void bareFetch(const std::vector<Statement>& statements, const QDate& from, const QDate& to) {
    for (const auto& [select, lines, groups, cars] : statements) {
        fb::Query q(&DM->IBDbase, &DM->IBTrans);
        q.setSQL({QStringLiteral("SELECT ") + select,
                  cars ? QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id")
                       : QStringLiteral("FROM Contracts ct"),
                  lines.isEmpty() ? QString() : QStringLiteral("INNER JOIN ") + lines + QStringLiteral(" w ON w.ct_fk = ct.pk_id + 0"),
                  cars ? QStringLiteral("WHERE ct.c_date BETWEEN :d1 AND :d2")
                       : QStringLiteral("WHERE ct.cr_fk IS NOT NULL AND ct.c_date BETWEEN :d1 AND :d2"),
                  groups.isEmpty() ? QString() : QStringLiteral("GROUP BY ") + groups});
        q.setDate(QStringLiteral("d1"), from);
        q.setDate(QStringLiteral("d2"), to);
        q.open();
        q.close();
    }
}

void line(const char* name, double app, double engine, double appCpu) {
    std::printf("%s app_ms=%.2f engine_ms=%.2f ratio=%.2f app_cpu_ms=%.2f\n", name, app, engine,
                engine > 0 ? app / engine : 0.0, appCpu);
    std::fflush(stdout);
}

// The sums each contract keeps, as the reports read them per group.
const QString kKept = QStringLiteral(", SUM(ct.works_sum), SUM(ct.spares_sum), "
                                     "2 * COUNT(*) - COUNT(ct.works_sum) - COUNT(ct.spares_sum), COUNT(*)");

}  // namespace

void benchOwner(int runs, const std::function<bool(const char*)>& wanted) {
    const QDate today = QDate::currentDate();
    const QDate from = QDate(today.year(), today.month(), 1).addMonths(-11);
    const QDate to = QDate(today.year(), today.month(), today.daysInMonth());
    const QString month = QStringLiteral("EXTRACT(YEAR FROM ct.c_date) * 100 + EXTRACT(MONTH FROM ct.c_date)");
    if (wanted("revenue_year")) {
        int contracts = 0;
        double cpu = 0;
        const double a = medianMs(runs, [&] {
            const app::Revenue r = app::revenue(DM->IBDbase, DM->IBTrans, today, app::hasPayments());
            contracts = 0;
            for (const app::MonthFigures& m : r.months) contracts += m.contracts;
        }, &cpu);
        const double e = medianMs(runs, [&] {
            if (app::hasContractSums())
                bareFetch({{month + kKept, QString(), QStringLiteral("1")},
                           {QStringLiteral("w.name, w.price"), QStringLiteral("CT_Works"), QString(), false}},
                          from, to);
            else
                bareFetch({{month + QStringLiteral(", COUNT(*)"), QString(), QStringLiteral("1")},
                           {month + QStringLiteral(", w.price, w.num, COUNT(*)"), QStringLiteral("CT_Spares"), QStringLiteral("1, 2, 3")},
                           {month + QStringLiteral(", w.name, w.price, COUNT(*)"), QStringLiteral("CT_Works"), QStringLiteral("1, 2, 3")}},
                          from, to);
        });
        line("revenue_year", a, e, cpu);
        std::printf("revenue_year contracts=%d\n", contracts);
    }
    if (wanted("mechanics_year")) {
        double cpu = 0;
        const double a = medianMs(
            runs, [&] { app::mechanicPay(DM->IBDbase, DM->IBTrans, from, to, app::hasMechanicRates()); }, &cpu);
        const QString meh = QStringLiteral("COALESCE(ct.meh, '')");
        const double e = medianMs(runs, [&] {
            if (app::hasContractSums())
                bareFetch({{meh + QStringLiteral(", COUNT(*)"), QString(), QStringLiteral("1")},
                           {meh + kKept, QString(), QStringLiteral("1")}},
                          from, to);
            else
                bareFetch({{meh + QStringLiteral(", COUNT(*)"), QString(), QStringLiteral("1")},
                           {meh + QStringLiteral(", w.price, COUNT(*)"), QStringLiteral("CT_Works"), QStringLiteral("1, 2")},
                           {meh + QStringLiteral(", w.price, w.num, COUNT(*)"), QStringLiteral("CT_Spares"), QStringLiteral("1, 2, 3")}},
                          from, to);
        });
        line("mechanics_year", a, e, cpu);
    }
}
