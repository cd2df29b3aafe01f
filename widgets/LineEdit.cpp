#include "widgets/LineEdit.h"

namespace widgets {

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {}

void LineEdit::keyPressEvent(QKeyEvent* event) {
    if (!takeEnterEscape(this, event)) QLineEdit::keyPressEvent(event);
}

}  // namespace widgets
