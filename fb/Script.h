#pragma once
// Runs a script of SQL statements (schema files): statements end with the
// terminator, "SET TERM x ;" changes it, comments are skipped, and each
// statement is committed on its own.
#include <QString>
#include <QStringList>

namespace fb {

class Connection;

class Transaction;

QStringList splitScript(const QString& text);
void runScript(Connection& db, const QString& text);
// Runs every statement of the script in `tr` and leaves the commit to the
// caller: the script counts whole or not at all.
void runScriptIn(Transaction& tr, const QString& text);

}  // namespace fb
