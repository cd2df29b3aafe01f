#pragma once
// The program itself, as a user starts it, in a process of its own.
#include <QString>

#include <functional>

namespace support {

// Copies the program built beside the tests into `folder` (which holds its
// dbase.fdb or path.txt), starts it offscreen, waits until `attached(pid)`
// says that it holds its database, sends it `sig` and waits for its end.
// Returns its exit code; -1 when it crashed, did not attach or did not end.
int endProgramWithSignal(const QString& folder, int sig, const std::function<bool(qint64 pid)>& attached);

// Whether process `pid` has the file `path` open (a local database).
bool hasFileOpen(qint64 pid, const QString& path);

}  // namespace support
