#pragma once
// What the role may do, shown in the windows: controls a clerk may not use
// are registered once, as their window is built, and disabled with a hint
// once the login's role is known. The server refuses those actions anyway;
// this only saves the clerk a refusal.
class QAction;
class QWidget;

namespace app {

void ownerOnly(QAction* action);
void ownerOnly(QWidget* widget);
// Enables or disables every registered control for the current role.
void applyRole();

}  // namespace app
