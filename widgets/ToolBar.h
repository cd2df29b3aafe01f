#pragma once
// The tool bars of the windows: picture buttons, gaps and a right-hand group.
#include "widgets/Icons.h"

#include <QSize>

class QToolBar;
class QToolButton;

namespace widgets {

// A picture button of a window's tool bar: named, with its hint (none when
// null), the bar's icon size, never taking the focus.
QToolButton* addToolButton(QToolBar* bar, const char* name, Glyph glyph, const char* hint,
                           QSize buttonSize = QSize());
// A gap between groups of buttons.
void addGap(QToolBar* bar, int width = 8);
// Pushes the buttons added after it to the right end of the bar.
void addRightSpacer(QToolBar* bar);

}  // namespace widgets
