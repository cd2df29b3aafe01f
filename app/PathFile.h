#pragma once
// Where the program reads the path of its database (path.txt), for the
// advice that names it. One place, so that it moves in one place.
#include <QString>

namespace app {

// The path.txt the running program reads.
QString pathFileLocation();

// The advice after a restore: how to make the program work with `database`
// (where path.txt is, that changing it needs the administrator).
QString switchDatabaseAdvice(const QString& database);

}  // namespace app
