#pragma once
// The masked date field: dd.mm.yyyy, digits only, blanks shown as spaces.
// text() is the text as shown, "  .  .    " when empty, which is what the
// date conversion gets (and rejects when incomplete).
//
// Signals: userChanged after every edit by the user (not for setText or
// clear by the program); QLineEdit's textChanged for every change; Enter and
// Escape as in LineEdit.
#include "widgets/LineEdit.h"

namespace widgets {

class DateEdit : public LineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    static QString emptyText() { return QStringLiteral("  .  .    "); }

    // Hides QLineEdit::text(), which would drop the blanks.
    QString text() const { return displayText(); }
    bool isEmpty() const { return displayText() == emptyText(); }

signals:
    void userChanged();

private:
    void onTextEdited();

    QString shown_;  // the text as last seen, so that a refused key reports nothing
};

}  // namespace widgets
