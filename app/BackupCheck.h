#pragma once
// A backup of the shop's database that is known to restore, and a restore
// into a new database file that is known to hold what the copy holds.
#include "fb/Service.h"

#include <QList>
#include <QMap>
#include <QString>

namespace app {

// Rows of every table of the database (its own tables, not the engine's),
// by table name in upper case. Attached on a connection of its own.
QMap<QString, qint64> tableCounts(const QString& database);

struct TableCheck {
    QString table;
    qint64 expected = -1;  // -1: the table is missing on this side
    qint64 found = -1;
};

struct CopyCheck {
    QList<TableCheck> tables;  // in name order
    bool ok() const;
    // One line a table: "CARS  60", with what differs marked.
    QString report() const;
};

CopyCheck compareCounts(const QMap<QString, qint64>& expected, const QMap<QString, qint64>& found);

// Backs up `database` (the one in use is fine: the engine's service reads
// it while it is open) into `file`, then restores the copy into a temporary
// database and compares the rows of every table with `database`.
CopyCheck backupDatabase(const QString& database, const QString& file, const fb::Service::Lines& progress = {});

// Restores `file` into the new database file `database` (never over one that
// exists), then checks it the same way: the copy restored once more into a
// temporary database must hold the rows the new database holds.
CopyCheck restoreDatabase(const QString& file, const QString& database, const fb::Service::Lines& progress = {});

}  // namespace app
