#pragma once
// A backup of the shop's database that is known to restore, and a restore
// into a new database that is known to hold what the copy holds.
#include "app/BackupStages.h"

#include <QList>
#include <QMap>
#include <QString>

namespace app {

// Rows of every table of the database (its own tables, not the engine's),
// by table name in upper case. Attached on a connection of its own, where
// the database is (a server's database through the server).
QMap<QString, qint64> tableCounts(const QString& database);

struct TableCheck {
    QString table;
    qint64 expected = -1;  // -1: the table is missing on this side
    qint64 found = -1;
};

struct CopyCheck {
    QList<TableCheck> tables;  // in the order of tableOrder
    // False for a copy without its record: what it should hold is unknown,
    // only that the engine restored it without an error.
    bool verified = true;
    bool ok() const;
    // One line a table by its Russian name: "Машины  60", with what differs marked.
    QString report() const;
};

CopyCheck compareCounts(const QMap<QString, qint64>& expected, const QMap<QString, qint64>& found);

// Backs up `database` (the one in use is fine: the engine's service reads it
// while it is open) into `file`. Refuses a `file` that is a database or
// anything but an older copy. The copy is written under a temporary name
// beside `file`, restored into a temporary database and compared with the
// rows the backup wrote (as the engine reported them; a server reports
// none, so there the restore must merely succeed); only a copy that passed
// is flushed to the disk and replaces `file`, with its record (recordPath).
// A copy that failed is removed and `file` is left as it was: the result
// says so (ok() false). Any error throws fb::Error with words for a clerk.
CopyCheck backupDatabase(const QString& database, const QString& file, const Progress& progress = {});

// Restores the local copy `file` into the new database `database` (never
// over one that exists; a server's database when named "host[/port]:path",
// the copy then sent over the connection). A file that is not a copy, and a
// copy whose record says other bytes, is refused
// before anything is written. The new database is compared where it was
// written with the rows the record lists; a copy without a record gives a
// result that is not verified. A restore that fails, or whose database
// holds other rows, leaves no database behind.
CopyCheck restoreDatabase(const QString& file, const QString& database, const Progress& progress = {});

}  // namespace app
