#pragma once
// Running the windows' handlers from a test.
#include <QString>

#include <functional>

namespace support {

// The text of what `action` throws; empty when it throws nothing.
QString errorOf(const std::function<void()>& action);

// Runs `handler` from the event loop, as a click would, so that whatever it
// throws goes to the program's error display; waits for it to finish, at
// most `timeoutMs`. False when it did not finish in time.
bool runInLoop(const std::function<void()>& handler, int timeoutMs);

}  // namespace support
