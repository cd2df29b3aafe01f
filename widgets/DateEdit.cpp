#include "widgets/DateEdit.h"

namespace widgets {

DateEdit::DateEdit(QWidget* parent) : LineEdit(parent) {
    setInputMask(QStringLiteral("99.99.9999; "));
    shown_ = displayText();
    // textEdited comes first for a user edit (also for a refused key, with
    // the text unchanged); textChanged for every change.
    connect(this, &QLineEdit::textEdited, this, &DateEdit::onTextEdited);
    connect(this, &QLineEdit::textChanged, this, [this] { shown_ = displayText(); });
}

void DateEdit::onTextEdited() {
    if (displayText() == shown_)
        return;
    shown_ = displayText();
    emit userChanged();
}

}  // namespace widgets
