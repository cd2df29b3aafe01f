// The owner's reports in torquil-bench: the twelve months of revenue and a
// year of mechanics' pay, computed on the benchmark database, beside the
// engine's bare fetch of the same statements (grouped lines, counts).
#include "app/DM.h"
#include "app/MechanicPay.h"
#include "app/OwnerSchema.h"
#include "app/Revenue.h"
#include "fb/Query.h"

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

// The statements the reports run, fetched and dropped.
void bareFetch(const QStringList& key, const QDate& from, const QDate& to) {
    for (const QString& k : key)
        for (const char* lines : {"CT_Works w ON w.ct_fk = ct.pk_id GROUP BY 1, 2",
                                  "CT_Spares w ON w.ct_fk = ct.pk_id GROUP BY 1, 2, 3"}) {
            fb::Query q(&DM->IBDbase, &DM->IBTrans);
            const bool works = QByteArray(lines).startsWith("CT_Works");
            q.setSQL({QStringLiteral("SELECT %1 AS grp, w.price, %2, COUNT(*) AS n").arg(k, works ? "1" : "w.num"),
                      QStringLiteral("FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id INNER JOIN ") +
                          QString::fromLatin1(lines).replace(QStringLiteral(" GROUP"),
                                                             QStringLiteral(" WHERE ct.c_date BETWEEN :d1 AND :d2 GROUP"))});
            q.setDate(QStringLiteral("d1"), from);
            q.setDate(QStringLiteral("d2"), to);
            q.open();
            q.close();
        }
}

void line(const char* name, double app, double engine) {
    std::printf("%s app_ms=%.2f engine_ms=%.2f ratio=%.2f\n", name, app, engine, engine > 0 ? app / engine : 0.0);
    std::fflush(stdout);
}

}  // namespace

void benchOwner(int runs, const std::function<bool(const char*)>& wanted) {
    const QDate today = QDate::currentDate();
    const QDate from = QDate(today.year(), today.month(), 1).addMonths(-11);
    const QDate to = QDate(today.year(), today.month(), today.daysInMonth());
    const QString month = QStringLiteral("EXTRACT(YEAR FROM ct.c_date) * 100 + EXTRACT(MONTH FROM ct.c_date)");
    if (wanted("revenue_year")) {
        int contracts = 0;
        const double a = medianMs(runs, [&] {
            const app::Revenue r = app::revenue(DM->IBDbase, DM->IBTrans, today, app::hasPayments());
            contracts = 0;
            for (const app::MonthFigures& m : r.months) contracts += m.contracts;
        });
        const double e = medianMs(runs, [&] { bareFetch({month, QStringLiteral("w.name")}, from, to); });
        line("revenue_year", a, e);
        std::printf("revenue_year contracts=%d\n", contracts);
    }
    if (wanted("mechanics_year")) {
        const double a = medianMs(runs, [&] { app::mechanicPay(DM->IBDbase, DM->IBTrans, from, to, app::hasMechanicRates()); });
        const double e = medianMs(runs, [&] { bareFetch({QStringLiteral("COALESCE(ct.meh, '')")}, from, to); });
        line("mechanics_year", a, e);
    }
}
