#pragma once
// Who attaches. The program keeps no password of its own. The embedded
// engine checks none (the file's rights decide): on one computer the
// program attaches as the engine's administrator with no password (the
// grants of any other name would shut it out of the tables). A server gets
// the login its user typed, or the one a script put in ISC_USER /
// ISC_PASSWORD (the client's own convention).
#include <QString>

namespace fb {

struct Login {
    QString user;
    QString password;
    // The SQL role the login holds in the shop's database (a server's grants
    // go to roles, and the engine takes a role only as it attaches); empty:
    // none.
    QString role;
};

// The login every new Connection and Service starts with: ISC_USER /
// ISC_PASSWORD when set, else the administrator's name and no password.
// The program changes it once the user has logged in.
Login& defaultLogin();
// The environment's login, when both ISC_USER and ISC_PASSWORD are set.
bool environmentLogin(Login* login);
// The role for the engine's administration of `database` (backups, their
// checks, users): RDB$ADMIN on a server, which Firebird asks of every login
// but the administrator's and the database owner's (the shop's owners are
// granted it); none for SYSDBA or on one computer.
QString adminRole(const QString& database, const QString& user);
// The name of the user this process runs as.
QString systemUserName();

}  // namespace fb
