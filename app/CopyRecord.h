#pragma once
// The record a backup writes beside its copy ("<copy>.check"): the copy's
// size and SHA-256, and the rows of every table the backup wrote. A restore
// reads it to know that the copy is whole and what the new database must hold.
#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

namespace app {

struct CopyRecord {
    QByteArray sha256;  // in hex, lower case
    qint64 size = 0;
    QMap<QString, qint64> counts;  // by table name in upper case
};

QString recordPath(const QString& copy);

// The file's SHA-256 in hex; throws fb::Error when it cannot be read.
QByteArray sha256Of(const QString& file);

// Whether a file exists and is such a record (its first line).
bool isRecordFile(const QString& path);

// Writes the record and flushes it to the disk; throws fb::Error.
void writeRecord(const QString& path, const CopyRecord& record);
// The record, none when the file is missing; throws fb::Error when it
// exists and cannot be read or is not a whole record.
std::optional<CopyRecord> readRecord(const QString& path);

// Flushes a file's data (or a folder's entries) to the disk; throws fb::Error.
void syncToDisk(const QString& path);

}  // namespace app
