#pragma once
// The one-line entry field of the forms, with the Enter and Escape
// handling of EnterEscape.
#include "widgets/EnterEscape.h"

#include <QLineEdit>

namespace widgets {

class LineEdit : public QLineEdit, public EnterEscape {
    Q_OBJECT
    Q_PROPERTY(bool enterMovesFocus READ enterMovesFocus WRITE setEnterMovesFocus)
    Q_PROPERTY(bool escapePropagates READ escapePropagates WRITE setEscapePropagates)
public:
    explicit LineEdit(QWidget* parent = nullptr);

signals:
    void enterPressed();
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace widgets
