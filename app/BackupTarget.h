#pragma once
// What a file holds, told by its first bytes, and the refusal of a backup
// target that would destroy a database: a backup replaces only an older
// copy, never the database in use nor any other file.
#include <QString>

namespace app {

enum class FileKind {
    Missing,   // no such file
    Empty,     // a file of no bytes
    Database,  // the first page of a Firebird database
    Backup,    // the first record of the engine's backup
    Other,
};

// Throws fb::Error when the file exists and cannot be read.
FileKind fileKind(const QString& path);

// Whether two names lead to one file (through symbolic and hard links):
// the same device and inode. False when either is missing.
bool sameFile(const QString& a, const QString& b);

// Throws fb::Error with words for a clerk when a backup of `database` must
// not be written to `target`: it is that database (by any name), it holds a
// database, or it holds anything but an older copy.
void refuseBackupTarget(const QString& database, const QString& target);

}  // namespace app
