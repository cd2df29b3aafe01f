// The history case with the visits' mileage: the history window's fill for
// the car with the most visits, every visit with a mileage, beside the
// engine's bare fetch of the same statements.
#include "app/DM.h"
#include "app/SchemaUpgrade.h"
#include "cars/HS.h"
#include "fb/Query.h"
#include "widgets/StringGrid.h"

#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

double msOf(const std::function<void()>& f) {
    QElapsedTimer e;
    e.start();
    f();
    return e.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

void benchHistoryMileage(int runs) {
    if (!app::hasSchema(1)) {
        std::printf("history_km skipped: the database has no mileage at the visits\n");
        return;
    }
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT FIRST 1 cr_fk, COUNT(*) FROM Contracts GROUP BY cr_fk ORDER BY 2 DESC"));
    q.open();
    const int car = q.field(0).asInteger();
    q.close();
    // Visits without a mileage get one that grows with the date.
    TDM::reset(q, QStringLiteral("UPDATE Contracts SET km = (c_date - DATE '2000-01-01') * 40 "
                                 "WHERE cr_fk = :car AND km IS NULL"));
    q.setInteger(QStringLiteral("car"), car);
    DM->execCommit(q);
    HS->CarKey = QString::number(car);

    std::vector<std::unique_ptr<fb::Query>> e;
    for (const char* sql : {"SELECT w.ct_fk, w.price FROM CT_Works w INNER JOIN Contracts ct "
                            "ON w.ct_fk = ct.pk_id + 0 WHERE ct.cr_fk = :cr_fk",
                            "SELECT s.ct_fk, s.price, s.num FROM CT_Spares s INNER JOIN Contracts ct "
                            "ON s.ct_fk = ct.pk_id + 0 WHERE ct.cr_fk = :cr_fk",
                            "SELECT pk_id, num, c_date, meh, km FROM Contracts WHERE cr_fk = :cr_fk "
                            "ORDER BY c_date DESC, num DESC, pk_id DESC"}) {
        e.push_back(std::make_unique<fb::Query>(&DM->IBDbase, &DM->IBTrans));
        e.back()->setSQL({QString::fromLatin1(sql)});
    }
    auto engine = [&e, car] {
        for (const auto& x : e) {
            x->close();
            x->setInteger(QStringLiteral("cr_fk"), car);
            x->open();
        }
    };
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(msOf([] { HS->FillHistory(); }));
        b.push_back(msOf(engine));
    }
    const double am = median(a), em = median(b);
    std::printf("history_km app_ms=%.2f engine_ms=%.2f ratio=%.2f\n", am, em, em > 0 ? am / em : 0.0);
    std::printf("history_km rows=%d %s\n", HS->Grid_hist->rowCount() - 1, qPrintable(HS->LabelYear->text()));
    std::fflush(stdout);
}
