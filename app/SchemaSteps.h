#pragma once
// The schema's version and its numbered steps. schema/dbase.sql is version
// 0; each schema/NNN-name.sql brings a database from version NNN-1 to NNN,
// only adding (tables, nullable columns, indexes, triggers, generators).
// A database records the steps it has in Schema_Version; one without that
// table is version 0.
#include <QList>
#include <QString>

namespace fb { class Connection; }

namespace app {

struct SchemaStep {
    int version = 0;
    QString name;  // "001-mileage.sql"
    QString text;
};

// The base script (version 0) and the steps, as built into the program.
QString baseSchemaText();
QList<SchemaStep> schemaSteps();
// The version the program's steps lead to.
int newestSchemaVersion();

// The version of an attached database: the highest recorded step, 0 when
// none is recorded.
int schemaVersion(fb::Connection& db);

// A new database: the base script, then every step.
void createSchema(fb::Connection& db, const QString& program);

// Applies every step above the database's version, each in one
// transaction with its record in Schema_Version, and returns the version
// reached. Two programs upgrading one database at once apply each step
// once: the one that comes second waits until the first has committed and
// goes on from there. `program` names who applied it ("torquil 1.0").
// Throws fb::Error when a step fails; that step leaves nothing behind.
// `upTo` stops after that step (a database as an older program left it).
int applySchemaSteps(fb::Connection& db, const QString& program, int upTo = 1 << 30);

}  // namespace app
