#pragma once
// Enter and Escape in the entry controls of the forms (LineEdit, UpperCombo):
// both are reported as signals of the control and never reach the window (no
// default button fires, no dialog closes), unless asked for.
#include "widgets/Focus.h"

#include <QKeyEvent>

namespace widgets {

class EnterEscape {
public:
    // When set, Enter also moves the focus to the next control in tab order
    // (after enterPressed). Default: not set.
    bool enterMovesFocus() const { return enterMovesFocus_; }
    void setEnterMovesFocus(bool on) { enterMovesFocus_ = on; }

    // When set, Escape goes on to the parent after escapePressed (so that a
    // dialog closes). Default: not set.
    bool escapePropagates() const { return escapePropagates_; }
    void setEscapePropagates(bool on) { escapePropagates_ = on; }

protected:
    // Called first by the control's keyPressEvent: true when the key was
    // Enter or Escape and has been handled; `control` has the two signals
    // enterPressed and escapePressed.
    template <class Control>
    bool takeEnterEscape(Control* control, QKeyEvent* event) {
        if (isEnterKey(event)) {
            event->accept();
            emit control->enterPressed();
            if (enterMovesFocus_) focusNext(control);
            return true;
        }
        if (event->key() == Qt::Key_Escape) {
            event->setAccepted(!escapePropagates_);
            emit control->escapePressed();
            return true;
        }
        return false;
    }

private:
    bool enterMovesFocus_ = false;
    bool escapePropagates_ = false;
};

}  // namespace widgets
