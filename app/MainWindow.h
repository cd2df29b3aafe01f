#pragma once
// The main window as the routines of app/ see it: the window they disable,
// enable and hand the activation back to. The program's start registers it.
class QWidget;

namespace app {

QWidget* mainWindow();  // the journal, MF; null before the windows exist and after they are gone
void setMainWindow(QWidget* window);

}  // namespace app
