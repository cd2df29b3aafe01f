#include "widgets/LineEdit.h"

#include "widgets/Focus.h"

#include <QKeyEvent>

namespace widgets {

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {}

void LineEdit::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        event->accept();
        emit enterPressed();
        if (enterMovesFocus_)
            focusNext(this);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->setAccepted(!escapePropagates_);
        emit escapePressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace widgets
