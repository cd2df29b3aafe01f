#pragma once
// The server's users of a shop: added with a role, a new password, dropped,
// listed. Statements on users take no parameters, so a name and a password
// go into the text only quoted and escaped here, and only after they passed
// checkLoginText (printable ASCII: the text of a statement and the login of
// an attachment then carry the same bytes).
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
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

// Each runs on an administrator's attachment and commits. An owner is
// made an administrator of the server's users (GRANT ADMIN ROLE) and of
// the database (RDB$ADMIN): the engine lets users be added, changed and
// granted a role only on an attachment with the role RDB$ADMIN of such a
// login (measured on Firebird 3: the TORQUIL_OWNER role may not, nor may
// RDB$ADMIN of the database alone).
void addUser(fb::Connection& db, const QString& name, const QString& password, UserRole role);
void setUserPassword(fb::Connection& db, const QString& name, const QString& password);
void dropUser(fb::Connection& db, const QString& name);

struct UserEntry {
    QString name;
    QString role;  // "владелец", "приёмщик" or empty
};
std::vector<UserEntry> listUsers(fb::Connection& db);

// Whether `db` is attached under `role`. The server gives a login a role it
// does not hold no error: it attaches without one, and then sees only its
// own name among the users.
bool attachedUnderRole(fb::Connection& db, const QString& role);

// The attachment that manages users for the program's attachment
// `program`: itself when it is the engine's administrator's (one computer,
// or a workstation started with the administrator's ISC_USER), otherwise
// `own`, opened once with the same login and the role RDB$ADMIN. Throws
// NoUserAdmin with the Russian reason when the login may not manage users.
class NoUserAdmin : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
fb::Connection& userAdmin(fb::Connection& program, std::unique_ptr<fb::Connection>& own);

}  // namespace app
