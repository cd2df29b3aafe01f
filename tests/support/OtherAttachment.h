#pragma once
// A second attachment to the data module's database, as another workstation
// on a server has one: its own connection and its own transaction, on the
// same settings as the program's (nowait, read_committed).
#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"

#include <QString>

namespace support {

class OtherAttachment {
public:
    OtherAttachment();  // to DM->IBDbase.databaseName

    // Runs `sql` and leaves its transaction open (a write not yet committed).
    void run(const QString& sql);
    void commit() { tr.commit(); }
    void rollback() { tr.rollback(); }
    // Runs `sql` and commits; the engine's text when it is refused, else empty.
    QString tryExec(const QString& sql);

    fb::Connection db;
    fb::Transaction tr{&db};
    fb::Query q{&db, &tr};
};

}  // namespace support
