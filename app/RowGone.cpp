#include "app/RowGone.h"

#include "app/DM.h"
#include "fb/Error.h"
#include "widgets/Doing.h"

#include <QDeadlineTimer>
#include <QThread>

namespace app {

QString contractGoneText() {
    return QStringLiteral("Договор удалён на другом рабочем месте. Ничего не записано; "
                          "введённое осталось на экране.");
}

QString carGoneText() {
    return QStringLiteral("Машина удалена на другом рабочем месте. Ничего не записано; "
                          "выберите машину заново.");
}

QString rowGoneText() {
    return QStringLiteral("Запись удалена на другом рабочем месте. Ничего не записано; список обновлён.");
}

QString rowBusyText() {
    return QStringLiteral("Запись сейчас изменяется на другом рабочем месте. Ничего не записано; "
                          "повторите сохранение.");
}

namespace {

// How long a lock waits for another workstation's unit, which commits within
// a moment unless that workstation is stuck.
constexpr int kLockPatienceMs = 1500;
constexpr int kLockRetryMs = 50;

}  // namespace

bool lockRow(const QString& table, int key) {
    if (!DM->IBTrans.inUnit()) throw std::logic_error("lockRow outside a write unit");
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, QStringLiteral("SELECT pk_id FROM %1 WHERE pk_id = :pk_id WITH LOCK").arg(table));
    q.setInteger(QStringLiteral("pk_id"), key);
    // The transactions never wait on their own (nowait): a short retry gives
    // a save that meets another one on the same row the chance to go through.
    const QDeadlineTimer deadline(kLockPatienceMs);
    for (;;) {
        try {
            q.open();
            break;
        } catch (const fb::Error& e) {
            if (!e.isRowConflict()) throw;
            if (deadline.hasExpired()) throw RowGone(rowBusyText());
            QThread::msleep(kLockRetryMs);
        }
    }
    const bool found = q.recordCount() > 0;
    q.close();
    return found;
}

void requireTouched(const fb::Query& q, const std::function<void()>& refresh) {
    if (q.rowsAffected() > 0) return;
    if (refresh) refresh();
    throw RowGone(rowGoneText());
}

void deleteByKey(const QString& sql, const QString& key, const std::function<void()>& refresh) {
    const widgets::Doing doing(QStringLiteral("Не удалось удалить запись"),
                               QStringLiteral("Запись не удалена — удалите её ещё раз."));
    fb::Query& q = DM->iSQL;
    TDM::reset(q, sql);
    q.setString(QStringLiteral("pk_id"), key);
    DM->execCommit(q);
    requireTouched(q, refresh);
}

void requireCar(int key) {
    if (!lockRow(QStringLiteral("Cars"), key)) throw RowGone(carGoneText());
}

}  // namespace app
