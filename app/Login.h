#pragma once
// Who works with the database, and as which role. On one computer the
// program attaches as the engine's administrator without a password (the
// embedded engine checks none; the file's rights decide) and hands the
// system user's name to the change log. On a server the user logs in (or a
// script's ISC_USER / ISC_PASSWORD do), and the attachment takes the role
// the server granted the login: the server, not the program, refuses what
// the role may not do.
#include "fb/Login.h"

#include <QString>

#include <functional>

namespace fb { class Connection; }

namespace app {

// The schema step that brings the roles and the change log.
inline constexpr int kRolesStep = 9;

extern const char* const kOwnerRole;  // "TORQUIL_OWNER"
extern const char* const kClerkRole;  // "TORQUIL_CLERK"

enum class Role {
    Owner,  // everything (one computer, the owner's login, the administrator)
    Clerk,  // contracts, their lines, cars; no deletes, no prices, no users
};
Role currentRole();
void setCurrentRole(Role role);
inline bool isOwner() { return currentRole() == Role::Owner; }
// The hint on what a clerk may not use.
QString ownerOnlyHint();

// The login window: fills `login` and returns true, or false when the user
// gives up (Esc). `refusal` is the reason the last try was refused, empty
// on the first.
using LoginPrompt = std::function<bool(fb::Login& login, const QString& refusal)>;
void setLoginPrompt(LoginPrompt prompt);

// The pause after three refused tries in a row, in milliseconds.
int& loginPauseMs();

// Logs `db` (a server database) in: the environment's login, else the
// prompt until the server accepts one. Sets db's user, password and the
// role; `db` is left closed. False when the user gave up.
bool logIn(fb::Connection& db);

// The role an attached login works under: the owner's for a member of
// TORQUIL_OWNER, the administrator and the database's owner; the clerk's
// for a member of TORQUIL_CLERK; none on a database without the roles
// (empty then).
QString roleOf(fb::Connection& db);

// Attaches `db` as its login is, and on a server under the role the login
// holds there (asked once without one, then attached again with it); the
// later attachments of the run take the same role. For torquil-db, whose
// login comes from the environment.
void attachWithRole(fb::Connection& db);

// On one computer: the attachment names the system user for the change log.
void nameSessionUser(fb::Connection& db);

}  // namespace app
