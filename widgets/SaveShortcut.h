#pragma once
// Ctrl+S in a window presses its save button while that button is enabled
// (and shown); while it is disabled the keys do nothing. A window with a save
// button for each of its lists names them all: the first enabled one is
// pressed.
#include <QList>

class QAbstractButton;
class QShortcut;
class QWidget;

namespace widgets {

QShortcut* addSaveShortcut(QWidget* window, const QList<QAbstractButton*>& saveButtons);

}  // namespace widgets
