#pragma once
// The combo box of the forms: capitals as typed, and inline completion.
// While the user types at the end of the text, the text is completed to
// the first list item that begins with it (letter case not regarded); the
// completed tail is selected, so the next key replaces it and Backspace or
// Delete removes it. Deleting keys and pasting never complete.
//
// userChanged() is the change signal of the forms. It is emitted
//  - after a user edit of the text that changed it, with the completion
//    already applied (text() holds the completed text);
//  - after the user chose an item from the list (popup, arrow keys, wheel)
//    that changed the text; in choice-only mode after every choice;
// and never for setText, clearText, list changes or focus changes.
//
// The list and the edit text are independent: changing the list (setItems,
// clearItems, appendItem, or QComboBox's own clear/addItem) keeps the edit
// text. Choice-only mode is the fixed-items box: no editing, currentIndex()
// is the choice.
#include "widgets/EnterEscape.h"

#include <QComboBox>
#include <QStringList>

namespace widgets {

class UpperEdit;

class UpperCombo : public QComboBox, public EnterEscape {
    Q_OBJECT
    Q_PROPERTY(bool enterMovesFocus READ enterMovesFocus WRITE setEnterMovesFocus)
    Q_PROPERTY(bool escapePropagates READ escapePropagates WRITE setEscapePropagates)
public:
    explicit UpperCombo(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);   // no userChanged
    void clearText() { setText(QString()); }
    // setText for a field the program fills (a loaded record): the cursor
    // goes to the start, so that a text longer than the box shows its beginning.
    void fill(const QString& text);

    QStringList items() const;
    void setItems(const QStringList& items);  // keeps the edit text
    void appendItem(const QString& item);
    void clearItems();

    bool choiceOnly() const { return !isEditable(); }
    void setChoiceOnly(bool on);

    bool autoComplete() const { return autoComplete_; }
    void setAutoComplete(bool on) { autoComplete_ = on; }

    int maxLength() const { return maxLength_; }
    void setMaxLength(int length);

    UpperEdit* edit() const;  // null in choice-only mode

    void showPopup() override;

signals:
    void userChanged();
    void enterPressed();
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class EditKind { None, Typing, Other };

    void installEdit();
    void onTextEdited();
    void onActivated();
    void complete();
    void notifyIfChanged();
    void beforeListChange();
    void afterListChange();
    int exactIndex(const QString& text) const;

    EditKind editKind_ = EditKind::None;
    QString shown_;        // the text as the change handlers last saw it
    int programmatic_ = 0;  // the box is changing its own text
    bool focusLeaving_ = false;
    bool autoComplete_ = true;
    int maxLength_ = 32767;

    // The edit text kept across a change of the list.
    int listChangeDepth_ = 0;
    QString keptText_;
    int keptCursor_ = 0, keptSelStart_ = -1, keptSelLength_ = 0;
};

}  // namespace widgets
