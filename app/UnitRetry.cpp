#include "app/UnitRetry.h"

#include "app/RowGone.h"
#include "fb/Error.h"

#include <QDeadlineTimer>
#include <QThread>

namespace app {

namespace {
constexpr int kPatienceMs = 1500;  // as long as a lock waits (app/RowGone.cpp)
constexpr int kRetryMs = 50;
}  // namespace

void retryOnRowConflict(const std::function<void()>& unit) {
    const QDeadlineTimer deadline(kPatienceMs);
    for (;;) {
        try {
            unit();
            return;
        } catch (const fb::Error& e) {
            if (!e.isRowConflict()) throw;
            if (deadline.hasExpired()) throw RowGone(rowBusyText());
        }
        QThread::msleep(kRetryMs);
    }
}

}  // namespace app
