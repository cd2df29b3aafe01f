#pragma once
// The guard that gives a window back after a delete: disables the window for
// its lifetime and enables it again on the way out, a failing statement
// included.
#include <QPointer>
#include <QWidget>

namespace widgets {

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

}  // namespace widgets
