#pragma once
// Pieces shared by the catalogue and directory windows: their tool bars and
// the guard that gives a window back after a delete.
#include "widgets/Icons.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

class QToolBar;
class QToolButton;

namespace catalogues {

// A picture button of a window's tool bar: named, with its hint (none when
// null), never taking the focus.
QToolButton* addToolButton(QToolBar* bar, const char* name, widgets::Glyph glyph, const char* hint,
                           QSize buttonSize = QSize());
// A gap between groups of buttons.
void addGap(QToolBar* bar, int width = 8);
// Pushes the buttons added after it to the right end of the bar.
void addRightSpacer(QToolBar* bar);

// Disables a window for its lifetime and enables it again on the way out,
// a failing statement included.
class DisabledWhile {
public:
    explicit DisabledWhile(QWidget* window) : window_(window) { window->setEnabled(false); }
    ~DisabledWhile() {
        if (window_) window_->setEnabled(true);
    }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    QPointer<QWidget> window_;
};

// The header colour of the directory lists.
inline constexpr QRgb kTitleYellow = 0xFFFFB3;

}  // namespace catalogues
