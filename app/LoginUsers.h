#pragma once
// The server's users of a shop: added with a role, a new password, dropped,
// listed. Statements on users take no parameters, so a name and a password
// go into the text only quoted and escaped here, and only after they passed
// checkLoginText (printable ASCII: the text of a statement and the login of
// an attachment then carry the same bytes).
#include <QString>
#include <QStringList>

#include <vector>

namespace fb { class Connection; }

namespace app {

// The engine keeps user names in capitals: the name as a login, upper-cased.
QString loginName(const QString& name);
// Throws std::invalid_argument with the Russian reason when `text` (a user
// name, or with `password` a password) cannot be used.
void checkLoginText(const QString& text, bool password);
// "NAME" with each " doubled; 'text' with each ' doubled.
QString quotedIdentifier(const QString& name);
QString quotedLiteral(const QString& text);

enum class UserRole { Owner, Clerk };
QString roleName(UserRole role);  // TORQUIL_OWNER / TORQUIL_CLERK

// Each runs on an administrator's attachment and commits.
void addUser(fb::Connection& db, const QString& name, const QString& password, UserRole role);
void setUserPassword(fb::Connection& db, const QString& name, const QString& password);
void dropUser(fb::Connection& db, const QString& name);

struct UserEntry {
    QString name;
    QString role;  // "владелец", "приёмщик" or empty
};
std::vector<UserEntry> listUsers(fb::Connection& db);

}  // namespace app
