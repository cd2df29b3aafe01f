#include "app/Settings.h"

#include "app/DM.h"
#include "app/SchemaUpgrade.h"
#include "fb/Query.h"

namespace app {

QString setting(const QString& name, const QString& fallback) {
    if (!hasSchema(1)) return fallback;
    fb::Query q(&DM->IBDbase, &DM->IBTrans);
    q.setSQL({QStringLiteral("SELECT val FROM Settings WHERE name = :name")});
    q.setString(QStringLiteral("name"), name);
    q.open();
    if (q.eof() || q.field(0).isNull()) return fallback;
    return q.field(0).asString();
}

int settingInt(const QString& name, int fallback) {
    bool ok = false;
    const int v = setting(name).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

void storeSetting(const QString& name, const QString& value) {
    fb::Query q(&DM->IBDbase, &DM->IBTrans);
    if (value.isEmpty()) {
        q.setSQL({QStringLiteral("DELETE FROM Settings WHERE name = :name")});
    } else {
        q.setSQL({QStringLiteral("UPDATE OR INSERT INTO Settings (name, val) VALUES (:name, :val) MATCHING (name)")});
        q.setString(QStringLiteral("val"), value);
    }
    q.setString(QStringLiteral("name"), name);
    DM->execCommit(q);
}

}  // namespace app
