// The change log's case of torquil-bench: a contract of 120 lines saved (its
// lines written in one transaction, as the editor does) with the log's
// triggers on, against the same save with them off. Target: within 1.5x.
#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "tools/DbTools.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void run(fb::Connection& db, const QString& sql) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({sql});
    q.execSQL();
    tr.commit();
}

// The median of `runs` saves of 120 lines (each save replaces the last).
double saveMs(fb::Connection& db, int runs) {
    std::vector<double> ms;
    for (int i = 0; i <= runs; ++i) {
        fb::Transaction tr(&db);
        fb::Query del(&db, &tr), ins(&db, &tr);
        del.setSQL({QStringLiteral("DELETE FROM CT_Works WHERE ct_fk = 1")});
        ins.setSQL({QStringLiteral("INSERT INTO CT_Works (ct_fk, name, price) VALUES (1, :name, :price)")});
        QElapsedTimer e;
        e.start();
        del.execSQL();
        for (int n = 0; n < 120; ++n) {
            ins.setString(QStringLiteral("name"), QStringLiteral("Замена втулки стабилизатора, позиция %1").arg(n));
            ins.setFloat(QStringLiteral("price"), 100 + n);
            ins.execSQL();
        }
        tr.commit();
        if (i > 0) ms.push_back(e.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

void benchChangeLog(int runs) {
    QTemporaryDir dir;
    fb::Connection db;
    tools::createDatabase(db, dir.filePath(QStringLiteral("log.fdb")));
    run(db, QStringLiteral("INSERT INTO Cars (dev) VALUES ('ВАЗ')"));
    run(db, QStringLiteral("INSERT INTO Contracts (c_date, meh, cr_fk) VALUES (CURRENT_DATE, 'М', 1)"));
    const double on = saveMs(db, std::max(runs, 3));
    run(db, QStringLiteral("ALTER TRIGGER ct_works_log INACTIVE"));
    const double off = saveMs(db, std::max(runs, 3));
    std::printf("save_120_lines_logged app_ms=%.2f unlogged_ms=%.2f ratio=%.2f limit_ratio=1.5\n", on, off,
                off > 0 ? on / off : 0.0);
    std::fflush(stdout);
    db.close();
}
