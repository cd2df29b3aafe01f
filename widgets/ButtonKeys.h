#pragma once
// Enter on a focused button presses it, in every window. Qt presses a push
// button on Enter only when it is a dialog's (auto-)default button; the
// forms' buttons in plain windows, buttons set not to be auto-default and
// focusable tool buttons get it from this application-wide filter.
#include <QObject>

namespace widgets {

class ButtonEnterFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the filter on the application once (widgets::Application does).
void installButtonEnter();

}  // namespace widgets
