#include "widgets/ButtonKeys.h"

#include "widgets/Focus.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace widgets {

bool ButtonEnterFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isEnterKey(key) || key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier)) return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button || button->window()->focusWidget() != button || !button->isEnabled() || !button->isVisible())
        return false;
    if (auto* push = qobject_cast<QPushButton*>(button)) {
        if (push->autoDefault() || push->isDefault()) return false;  // Qt presses these itself
    } else if (!qobject_cast<QToolButton*>(button)) {
        return false;  // check boxes and radio buttons keep Enter for the window
    }
    button->click();
    return true;
}

void installButtonEnter() {
    static ButtonEnterFilter* filter = nullptr;
    if (filter || !QCoreApplication::instance()) return;
    filter = new ButtonEnterFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

}  // namespace widgets
