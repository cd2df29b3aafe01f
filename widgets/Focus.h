#pragma once
// The Enter-key convention of the entry fields: Enter moves the focus to the
// next control in the window's tab order.
class QKeyEvent;
class QWidget;

namespace widgets {

// Moves the focus from `from` (given the focus first if it has not got it) to
// the next control of its window in tab order, as Tab would, skipping
// disabled and hidden controls. Returns false when there is none.
bool focusNext(QWidget* from);

// Enter or Return, from the main keyboard or the keypad.
bool isEnterKey(const QKeyEvent* event);

}  // namespace widgets
