#pragma once
// The entry field that turns letters into capitals as they are typed (Latin
// and Cyrillic alike, into capitals that Windows-1251 holds; the cursor stays
// where it is). Pasted and dropped text is turned into capitals too. Text set
// by the program is kept as given.
//
// Signals: QLineEdit's textChanged (every change) and textEdited (user edits;
// read text(), which already holds the capitals), plus enterPressed and
// escapePressed of LineEdit.
#include "widgets/LineEdit.h"

namespace widgets {

// Each character replaced by its capital where the database can store the
// capital ("µ" has none there: it stays); the length never changes.
QString upperChars(const QString& text);

class UpperEdit : public LineEdit {
    Q_OBJECT
public:
    explicit UpperEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void fixEditedText();
};

}  // namespace widgets
