#include "app/MainWindow.h"

namespace app {

namespace {
QWidget* registered = nullptr;
}  // namespace

QWidget* mainWindow() { return registered; }
void setMainWindow(QWidget* window) { registered = window; }

}  // namespace app
