#pragma once
// torquil-db's commands for a shop's server: server-setup and user ...
#include <QStringList>

namespace tools {

// For a server database: the administrator's login from ISC_USER /
// ISC_PASSWORD, or asked on the terminal; it becomes the login of every
// attachment of the run. False (with the reason printed) when there is none.
bool adminLogin(const QString& database);

// torquil-db server-setup DATABASE
int serverSetup(const QString& database);
// torquil-db user add|passwd|drop|list DATABASE [NAME] [--role owner|clerk]
int userCommand(const QStringList& args);

}  // namespace tools
