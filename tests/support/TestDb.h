#pragma once
// Real embedded databases for the tests, made from schema/dbase.sql.
#include <QString>
#include <QTemporaryDir>

namespace fb { class Connection; }

namespace support {

QString schemaPath();
// Creates a new database file `name` in `dir` from the schema and returns its path.
QString makeDatabase(const QTemporaryDir& dir, const QString& name = QStringLiteral("dbase.fdb"));
// Creates the data module and connects it to `path` (as the start-up does).
void connectDataModule(const QString& path);
// Deletes the data module (detaching).
void dropDataModule();
// Runs one statement on the data module's connection and commits.
void exec(const QString& sql);
// The first column of the first row of a query, as text.
QString scalar(const QString& sql);

}  // namespace support
