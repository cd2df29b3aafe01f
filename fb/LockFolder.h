#pragma once
// Where the embedded engine keeps its lock and trace files. Left to itself it
// uses /tmp/firebird, made by the first process that needs it and open to its
// user only (root's, after a `sudo torquil-db`), which shuts every other user
// out. Each user gets a folder of their own instead. Two processes on one
// database file are still kept apart, whatever their lock folders: the
// engine locks the file itself, and the second gets "Database already opened
// with engine instance, incompatible with current".
#include <QString>

namespace fb {

// This user's folder: torquil-firebird in $XDG_RUNTIME_DIR when that folder
// is this user's, else torquil-firebird-<uid> in the temporary folder; made
// with mode 0700 and checked to be this user's alone. Empty when it cannot be.
QString ownLockFolder();

// Names that folder in FIREBIRD_LOCK unless the variable is set already.
// Must run before the engine loads: fb::client() calls it first.
void useOwnLockFolder();

}  // namespace fb
