#include "app/WindowFlow.h"

#include "app/MainWindow.h"
#include "widgets/Activation.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace app {

void centreOver(QWidget* window, QWidget* over) {
    QRect area;
    if (over && over->isVisible()) {
        area = over->frameGeometry();
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        area = s->availableGeometry();
    }
    if (area.isValid()) window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

void openModeless(QWidget* window) {
    QWidget* const journal = mainWindow();
    if (journal) {
        journal->setEnabled(false);
        // Transient for the main window, not its child: a window manager keeps
        // it above the main window, and it is not disabled with it.
        window->winId();
        journal->winId();
        if (window->windowHandle() && window->windowHandle()->transientParent() != journal->windowHandle())
            window->windowHandle()->setTransientParent(journal->windowHandle());
    }
    if (!window->isVisible()) centreOver(window, journal);
    window->show();
    window->raise();
    window->activateWindow();
    widgets::Activation::instance().report(window);
}

int openModal(QDialog* dialog, QWidget* owner) {
    if (!owner) owner = mainWindow();
    centreOver(dialog, owner);
    QTimer::singleShot(0, dialog, [dialog] { widgets::Activation::instance().report(dialog); });
    const int rc = dialog->exec();
    if (owner) widgets::Activation::instance().report(owner);
    return rc;
}

void backToMain() {
    QWidget* const journal = mainWindow();
    if (!journal) return;
    journal->setEnabled(true);
    journal->activateWindow();
    widgets::Activation::instance().report(journal);
}

}  // namespace app
