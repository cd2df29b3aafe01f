#pragma once
// The database brought up to the program's schema when it is attached: an
// older one after a checked backup copy, one the program may not change left
// as it is with the newer features off, a newer one used as it is.
#include "app/BackupStages.h"

#include <QString>

namespace fb { class Connection; }

namespace app {

// The version of the attached database after start-up; what needs a step
// is used only when the database has it.
int databaseSchema();
void setDatabaseSchema(int version);
bool hasSchema(int version);

// Who records the steps it applies.
QString upgradingProgram();

// Where the copy made before upgrading `database` from `version` goes:
// beside a local database when its folder may be written, else into the
// user's documents (a server's database, a folder of another user).
QString upgradeCopyPath(const QString& database, int version);

struct SchemaUpgrade {
    int before = 0;
    int after = 0;
    QString copy;     // the checked copy made first (empty: none was needed)
    bool readOnly = false;  // the database may not be changed: left as it was
};

// Upgrades the attached database `db` when it is older than the program:
// a checked backup into `copy` first (nothing changes when it fails), then
// the steps. Throws fb::Error with words for a clerk.
SchemaUpgrade upgradeAttached(fb::Connection& db, const QString& copy, const Progress& progress = {});

// Whether an error says that this login or this file may not change the
// database (a read-only database, a user without the rights).
bool isRefusedChange(const QString& engineText);

// At start-up, before DM attaches to `path`, on a connection of its own
// that is gone when DM attaches: upgrades when needed and tells the clerk
// once, through tellSchemaNews (a message naming the copy; a newer database; the features left off,
// on the status line). Never throws for what it could not do: the program
// goes on with the schema the database has (an attach that fails is left to
// DM's own attach, which says why).
void prepareSchemaAtStart(const QString& path);
// Shows what the preparation had to say, once.
void tellSchemaNews();

}  // namespace app
