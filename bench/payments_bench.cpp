// The payment cases of torquil-bench: the journal with "ОПЛАЧЕНО" and
// "К ОПЛАТЕ" over every period beside the bare fetch of its fixed statement,
// and the debtors list (target: under 200 ms at full size).
#include "app/DM.h"
#include "app/PaymentReports.h"
#include "app/SchemaUpgrade.h"
#include "contracts/JournalPeriod.h"
#include "contracts/MF.h"
#include "fb/Query.h"
#include "widgets/UpperCombo.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

void benchPayments(int runs, const std::function<bool(const char*)>& wanted,
                   const std::function<void(const char*, const std::function<void()>&, const std::function<void()>&)>& report,
                   const std::function<std::function<void()>()>& journalFetch) {
    if (!app::hasSchema(2)) {
        std::printf("payments: the database has no payments (version below 2)\n");
        return;
    }
    static const char* names[] = {"journal_pay_10days", "journal_pay_30days", "journal_pay_month", "journal_pay_year",
                                  "journal_pay_all"};
    for (int period = kPeriod10Days; period <= kPeriodAll; ++period) {
        MF->Box10->setCurrentIndex(period);
        report(names[period], [] { MF->RefillJournal(); }, journalFetch());
    }
    MF->Box10->setCurrentIndex(kPeriodYear);
    if (wanted("debtors")) {
        std::vector<double> t;
        size_t customers = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer e;
            e.start();
            customers = app::debtors(DM->IBDbase, DM->IBTrans).size();
            t.push_back(e.nsecsElapsed() / 1e6);
        }
        std::sort(t.begin(), t.end());
        std::printf("debtors app_ms=%.2f customers=%zu target_ms=200\n", t[t.size() / 2], customers);
        std::fflush(stdout);
    }
}
