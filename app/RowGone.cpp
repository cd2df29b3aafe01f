#include "app/RowGone.h"

#include "app/DM.h"
#include "widgets/Doing.h"

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

bool rowExists(const QString& table, int key) {
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, QStringLiteral("SELECT pk_id FROM %1 WHERE pk_id = :pk_id").arg(table));
    q.setInteger(QStringLiteral("pk_id"), key);
    q.open();
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
    if (!rowExists(QStringLiteral("Cars"), key)) throw RowGone(carGoneText());
}

}  // namespace app
