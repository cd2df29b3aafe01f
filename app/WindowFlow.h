#pragma once
// How windows are shown from the main window and how they hand it back.
class QDialog;
class QWidget;

namespace app {

// Modeless: the main window is disabled, the window shown and activated.
void openModeless(QWidget* window);
// Modal over `owner` (the main window unless given): shown, activated, run;
// afterwards the owner is activated again. Returns the dialog's result.
int openModal(QDialog* dialog, QWidget* owner = nullptr);
// A modeless window that was closed or hidden enables the main window and
// activates it.
void backToMain();
// Centres `window` over `over` (or the screen when null).
void centreOver(QWidget* window, QWidget* over);

}  // namespace app
