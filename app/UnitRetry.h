#pragma once
// A short write unit that touches a row other workstations write too (a
// payment updates its contract's sums): the transactions never wait on their
// own, so a unit that meets another one's row is rolled back and run again
// for a moment before the conflict is reported.
#include <functional>

namespace app {

// Runs `unit` (which opens, and commits, a write unit of its own) again on
// a row conflict until it goes through; past the patience of a lock the
// conflict is thrown as RowGone(rowBusyText()), nothing of it written.
void retryOnRowConflict(const std::function<void()>& unit);

}  // namespace app
