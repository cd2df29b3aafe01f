#pragma once
// The one-line entry field of the forms: Enter and Escape are reported as
// signals of their own and never reach the window (no default button fires,
// no dialog closes), unless asked for.
#include <QLineEdit>

namespace widgets {

class LineEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool enterMovesFocus READ enterMovesFocus WRITE setEnterMovesFocus)
    Q_PROPERTY(bool escapePropagates READ escapePropagates WRITE setEscapePropagates)
public:
    explicit LineEdit(QWidget* parent = nullptr);

    // When set, Enter also moves the focus to the next control in tab order
    // (after enterPressed). Default: not set.
    bool enterMovesFocus() const { return enterMovesFocus_; }
    void setEnterMovesFocus(bool on) { enterMovesFocus_ = on; }

    // When set, Escape goes on to the parent after escapePressed (so that a
    // dialog closes). Default: not set.
    bool escapePropagates() const { return escapePropagates_; }
    void setEscapePropagates(bool on) { escapePropagates_ = on; }

signals:
    void enterPressed();
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool enterMovesFocus_ = false;
    bool escapePropagates_ = false;
};

}  // namespace widgets
