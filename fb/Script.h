#pragma once
// Runs a script of SQL statements (schema files): statements end with the
// terminator, "SET TERM x ;" changes it, comments are skipped, and each
// statement is committed on its own.
#include <QString>
#include <QStringList>

namespace fb {

class Connection;

QStringList splitScript(const QString& text);
void runScript(Connection& db, const QString& text);

}  // namespace fb
