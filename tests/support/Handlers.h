#pragma once
// Running the windows' handlers from a test.
#include <QString>

#include <functional>

class QWidget;

namespace support {

// The text of what `action` throws; empty when it throws nothing.
QString errorOf(const std::function<void()>& action);

// Runs `handler` from the event loop, as a click would, so that whatever it
// throws goes to the program's error display; waits for it to finish, at
// most `timeoutMs`. False when it did not finish in time.
bool runInLoop(const std::function<void()>& handler, int timeoutMs);

// What a window manager delivers when the user clicks `window`, picks it on
// the task bar or Alt+Tabs to it after another program was in front.
void userActivates(QWidget* window);

// Waits until every opener the program handed a file to has ended and its
// outcome has been dealt with; false after `timeoutMs`.
bool openersEnded(int timeoutMs = 10000);

}  // namespace support
