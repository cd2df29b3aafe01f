#pragma once
// Pieces shared by the catalogue and directory windows: the guard that gives
// a window back after a delete, and the colour of their list headers.
#include <QPointer>
#include <QRgb>
#include <QWidget>

namespace catalogues {

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
