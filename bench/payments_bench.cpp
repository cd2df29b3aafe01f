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
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

}  // namespace

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
        // The thread's processor time beside the wall clock: on a busy
        // machine it is what the list would take on an idle one (the
        // embedded engine works in the calling thread).
        std::vector<double> t, cpu;
        size_t customers = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer e;
            const double c0 = threadCpuMs();
            e.start();
            customers = app::debtors(DM->IBDbase, DM->IBTrans).size();
            t.push_back(e.nsecsElapsed() / 1e6);
            cpu.push_back(threadCpuMs() - c0);
        }
        std::sort(t.begin(), t.end());
        std::sort(cpu.begin(), cpu.end());
        std::printf("debtors app_ms=%.2f cpu_ms=%.2f customers=%zu target_ms=200\n", t[t.size() / 2],
                    cpu[cpu.size() / 2], customers);
        std::fflush(stdout);
    }
}
