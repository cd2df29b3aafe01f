#include "widgets/Focus.h"

#include <QKeyEvent>
#include <QWidget>

namespace widgets {

namespace {

// QWidget::focusNextPrevChild is protected; a member pointer named through a
// derived class may be applied to any widget.
struct FocusStep : QWidget {
    static bool step(QWidget* w, bool next) { return (w->*(&FocusStep::focusNextPrevChild))(next); }
};

bool focusStep(QWidget* from, bool next) {
    if (!from)
        return false;
    QWidget* window = from->window();
    QWidget* target = from;
    while (target->focusProxy())
        target = target->focusProxy();
    if (window->focusWidget() != target)
        from->setFocus(Qt::OtherFocusReason);
    // The step starts from the window's focus widget, as the Tab key does.
    return FocusStep::step(window, next);
}

}  // namespace

bool focusNext(QWidget* from) {
    return focusStep(from, true);
}

bool isEnterKey(const QKeyEvent* event) {
    return event && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
}

}  // namespace widgets
