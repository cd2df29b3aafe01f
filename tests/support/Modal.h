#pragma once
// Driving a modal window from a test: a timer set up before the action that
// opens the window polls for it.
#include <functional>

class QDialog;

namespace support {

// Runs `action` once the modal window `dialog` is up and activated; gives up
// after five seconds, closing it. With `done`: set when the action ran with
// no failed check, and the window is closed if the action left it up.
void whenModal(QDialog* dialog, std::function<void()> action, bool* done = nullptr);

// Runs `inside` once any modal window runs, then rejects that window if
// `inside` left it up.
void whenModalRuns(std::function<void()> inside);

}  // namespace support
