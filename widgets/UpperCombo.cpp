#include "widgets/UpperCombo.h"

#include "widgets/UpperEdit.h"

#include <QAbstractItemModel>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace widgets {

namespace {

// A key that types a character (letters, digits, blanks, punctuation), as
// opposed to deleting, moving or a shortcut.
bool typesCharacter(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

UpperCombo::UpperCombo(QWidget* parent) : QComboBox(parent) {
    setInsertPolicy(QComboBox::NoInsert);
    installEdit();
    connect(this, &QComboBox::activated, this, &UpperCombo::onActivated);

    QAbstractItemModel* list = model();
    connect(list, &QAbstractItemModel::rowsAboutToBeInserted, this, &UpperCombo::beforeListChange);
    connect(list, &QAbstractItemModel::rowsAboutToBeRemoved, this, &UpperCombo::beforeListChange);
    connect(list, &QAbstractItemModel::modelAboutToBeReset, this, &UpperCombo::beforeListChange);
    connect(list, &QAbstractItemModel::rowsInserted, this, &UpperCombo::afterListChange);
    connect(list, &QAbstractItemModel::rowsRemoved, this, &UpperCombo::afterListChange);
    connect(list, &QAbstractItemModel::modelReset, this, &UpperCombo::afterListChange);
}

void UpperCombo::installEdit() {
    auto* edit = new UpperEdit(this);
    edit->setMaxLength(maxLength_);
    setLineEdit(edit);
    setCompleter(nullptr);  // setLineEdit gives the edit a completer of its own
    connect(edit, &QLineEdit::textEdited, this, &UpperCombo::onTextEdited);
    shown_ = text();
}

UpperEdit* UpperCombo::edit() const {
    return qobject_cast<UpperEdit*>(lineEdit());
}

QString UpperCombo::text() const {
    return lineEdit() ? lineEdit()->text() : currentText();
}

void UpperCombo::setText(const QString& text) {
    ++programmatic_;
    const int index = exactIndex(text);
    if (currentIndex() != index)
        QComboBox::setCurrentIndex(index);  // in an editable box this sets the edit text
    if (lineEdit() && lineEdit()->text() != text)
        lineEdit()->setText(text);
    --programmatic_;
    shown_ = this->text();
}

void UpperCombo::fill(const QString& text) {
    setText(text);
    if (lineEdit()) lineEdit()->setCursorPosition(0);
}

QStringList UpperCombo::items() const {
    QStringList result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result.append(itemText(i));
    return result;
}

void UpperCombo::setItems(const QStringList& items) {
    ++programmatic_;
    clear();
    addItems(items);
    --programmatic_;
    shown_ = text();
}

void UpperCombo::appendItem(const QString& item) {
    ++programmatic_;
    addItem(item);
    --programmatic_;
    shown_ = text();
}

void UpperCombo::clearItems() {
    ++programmatic_;
    clear();
    --programmatic_;
    shown_ = text();
}

void UpperCombo::setChoiceOnly(bool on) {
    if (on == choiceOnly())
        return;
    ++programmatic_;
    if (on)
        setEditable(false);
    else
        installEdit();
    --programmatic_;
    shown_ = text();
}

void UpperCombo::setMaxLength(int length) {
    maxLength_ = length;
    if (lineEdit())
        lineEdit()->setMaxLength(length);
}

int UpperCombo::exactIndex(const QString& text) const {
    return findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
}

void UpperCombo::keyPressEvent(QKeyEvent* event) {
    if (takeEnterEscape(this, event))
        return;
    shown_ = text();  // whatever the program did to the text since
    editKind_ = typesCharacter(event) ? EditKind::Typing : EditKind::Other;
    QComboBox::keyPressEvent(event);
    editKind_ = EditKind::None;
}

void UpperCombo::inputMethodEvent(QInputMethodEvent* event) {
    shown_ = text();
    editKind_ = event->commitString().isEmpty() ? EditKind::Other : EditKind::Typing;
    QComboBox::inputMethodEvent(event);
    editKind_ = EditKind::None;
}

void UpperCombo::wheelEvent(QWheelEvent* event) {
    shown_ = text();
    QComboBox::wheelEvent(event);
}

void UpperCombo::focusOutEvent(QFocusEvent* event) {
    // Leaving the box may make QComboBox pick the item equal to the text and
    // report it as activated; that is no choice of the user.
    focusLeaving_ = true;
    QComboBox::focusOutEvent(event);
    focusLeaving_ = false;
}

void UpperCombo::showPopup() {
    shown_ = text();
    QComboBox::showPopup();
}

void UpperCombo::onTextEdited() {
    if (programmatic_)
        return;
    if (editKind_ == EditKind::Typing && autoComplete_)
        complete();
    notifyIfChanged();
}

void UpperCombo::complete() {
    QLineEdit* edit = lineEdit();
    const QString typed = edit->text();
    if (typed.isEmpty() || edit->hasSelectedText() || edit->cursorPosition() != typed.size())
        return;
    for (int i = 0; i < count(); ++i) {
        const QString item = itemText(i);
        if (!item.startsWith(typed, Qt::CaseInsensitive))
            continue;
        ++programmatic_;
        if (currentIndex() != i)
            QComboBox::setCurrentIndex(i);
        if (edit->text() != item)
            edit->setText(item);
        const int length = int(edit->text().size());
        edit->setSelection(int(typed.size()), length - int(typed.size()));
        --programmatic_;
        return;
    }
}

void UpperCombo::onActivated() {
    if (programmatic_ || focusLeaving_) {
        shown_ = text();
        return;
    }
    if (choiceOnly()) {
        shown_ = text();
        emit userChanged();
        return;
    }
    notifyIfChanged();
}

void UpperCombo::notifyIfChanged() {
    const QString now = text();
    if (now == shown_)
        return;
    shown_ = now;
    emit userChanged();
}

void UpperCombo::beforeListChange() {
    if (listChangeDepth_++ > 0 || !lineEdit())
        return;
    QLineEdit* edit = lineEdit();
    keptText_ = edit->text();
    keptCursor_ = edit->cursorPosition();
    keptSelStart_ = edit->selectionStart();
    keptSelLength_ = int(edit->selectedText().size());
}

void UpperCombo::afterListChange() {
    if (listChangeDepth_ == 0 || --listChangeDepth_ > 0 || !lineEdit())
        return;
    QLineEdit* edit = lineEdit();
    // QComboBox changes the edit text when the list empties or its first item
    // arrives; otherwise (an item appended, say) there is nothing to undo.
    if (edit->text() == keptText_)
        return;
    ++programmatic_;
    const int index = exactIndex(keptText_);
    if (currentIndex() != index)
        QComboBox::setCurrentIndex(index);
    if (edit->text() != keptText_) {
        edit->setText(keptText_);
        if (keptSelStart_ >= 0 && keptSelLength_ > 0) {
            if (keptCursor_ == keptSelStart_)
                edit->setSelection(keptSelStart_ + keptSelLength_, -keptSelLength_);
            else
                edit->setSelection(keptSelStart_, keptSelLength_);
        } else {
            edit->setCursorPosition(keptCursor_);
        }
    }
    --programmatic_;
}

}  // namespace widgets
