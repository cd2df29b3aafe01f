#include "support/OtherAttachment.h"

#include "app/DM.h"
#include "fb/Error.h"

namespace support {

OtherAttachment::OtherAttachment() {
    db.databaseName = DM->IBDbase.databaseName;
    db.open();
}

void OtherAttachment::run(const QString& sql) {
    q.setSQL({sql});
    q.execSQL();
}

QString OtherAttachment::tryExec(const QString& sql) {
    try {
        run(sql);
        commit();
    } catch (const fb::Error& e) {
        tr.rollback();
        return e.text();
    }
    return QString();
}

}  // namespace support
