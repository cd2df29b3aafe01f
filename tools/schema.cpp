#include "tools/DbTools.h"

#include "app/SchemaSteps.h"

namespace tools {

void createDatabase(fb::Connection& db, const QString& path) {
    db.databaseName = path;
    db.create();
    app::createSchema(db, QStringLiteral("torquil-db 1.0"));
    // Attached again: right after the steps' DDL the engine sometimes
    // refused a second attachment of this process to the file (its lock
    // held by the first) for seconds; a fresh attachment has no such past.
    db.close();
    db.open();
}

}  // namespace tools
