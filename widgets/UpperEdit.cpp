#include "widgets/UpperEdit.h"

#include "fb/Cp1251.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace widgets {

QString upperChars(const QString& text) {
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar c = result.at(i);
        if (c.isSurrogate())
            continue;  // beyond the database's code page: kept as typed
        const QChar upper = c.toUpper();
        if (upper != c && fb::fitsCp1251(upper.unicode()))
            result[i] = upper;
    }
    return result;
}

UpperEdit::UpperEdit(QWidget* parent) : LineEdit(parent) {
    // Connected first, so that every other receiver finds the capitals.
    connect(this, &QLineEdit::textEdited, this, &UpperEdit::fixEditedText);
}

void UpperEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const QString upper = upperChars(typed);
    if (upper == typed) {
        LineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent capital(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                      event->nativeVirtualKey(), event->nativeModifiers(), upper,
                      event->isAutoRepeat(), quint16(event->count()));
    LineEdit::keyPressEvent(&capital);
    event->setAccepted(capital.isAccepted());
}

void UpperEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const QString upper = upperChars(commit);
    if (upper == commit) {
        LineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent capital(event->preeditString(), event->attributes());
    capital.setCommitString(upper, event->replacementStart(), event->replacementLength());
    LineEdit::inputMethodEvent(&capital);
    event->setAccepted(capital.isAccepted());
}

// Typed letters arrive as capitals already; this catches pasted and dropped text.
void UpperEdit::fixEditedText() {
    const QString current = text();
    const QString upper = upperChars(current);
    if (upper == current)
        return;
    const int cursor = cursorPosition();
    const int selStart = selectionStart();
    const int selLength = selectionLength();
    setText(upper);
    if (selStart >= 0 && selLength > 0) {
        if (cursor == selStart)
            setSelection(selStart + selLength, -selLength);
        else
            setSelection(selStart, selLength);
    } else {
        setCursorPosition(cursor);
    }
}

}  // namespace widgets
