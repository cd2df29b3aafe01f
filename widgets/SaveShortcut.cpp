#include "widgets/SaveShortcut.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>

namespace widgets {

QShortcut* addSaveShortcut(QWidget* window, const QList<QAbstractButton*>& saveButtons) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), window);
    shortcut->setObjectName(QStringLiteral("SaveShortcut"));
    shortcut->setContext(Qt::WindowShortcut);
    QList<QPointer<QAbstractButton>> buttons(saveButtons.begin(), saveButtons.end());
    QObject::connect(shortcut, &QShortcut::activated, window, [buttons] {
        for (const QPointer<QAbstractButton>& b : buttons)
            if (b && b->isEnabled() && b->isVisibleTo(b->window())) {
                b->click();
                return;
            }
    });
    return shortcut;
}

}  // namespace widgets
