#pragma once
// Real embedded databases for the tests, made with the program's newest
// schema (or the base one, for the upgrade).
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace fb { class Connection; }

namespace support {

QString schemaPath();
// Creates a new database file `name` in `dir` with the newest schema and returns its path.
QString makeDatabase(const QTemporaryDir& dir, const QString& name = QStringLiteral("dbase.fdb"));
// The same with the steps up to `version` only (as an older program made it).
QString makeDatabaseAt(const QTemporaryDir& dir, int version, const QString& name);
// The same with schema/dbase.sql alone: a shop's database before any step.
QString makeBaseDatabase(const QTemporaryDir& dir, const QString& name = QStringLiteral("dbase.fdb"));
// Creates the data module and connects it to `path` (as the start-up does,
// the schema's preparation included).
void connectDataModule(const QString& path);
// The program's windows created as at start, connected to a new database in
// `dir` instead of the first activation's search for one; returns its path.
QString openWindows(const QTemporaryDir& dir);
// Deletes the data module (detaching).
void dropDataModule();
// Runs one statement on the data module's connection and commits. The
// reading transaction ends first, so that DDL finds no table in use.
void exec(const QString& sql);
// The first column of the first row of a query, as text.
QString scalar(const QString& sql);
// The key of the newest row of `table` (the largest pk_id).
int lastKey(const QString& table);
// The number of rows of `table`, or of those that meet `where`.
int count(const QString& table, const QString& where = QString());
// Every row of a query on `db`, its values joined by '|' ("<null>" for a null).
QStringList rows(fb::Connection& db, const QString& sql);
// The first column of every row, as text.
QStringList column(const QString& sql);

}  // namespace support
