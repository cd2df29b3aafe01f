#include "widgets/EntryModes.h"

#include "widgets/DisabledWhile.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QKeyEvent>

#include <exception>

namespace widgets {

QString EntryModes::currentKey() const { return c_.list->cell(0, c_.list->currentRow()); }

void EntryModes::startBrowsing() {
    Adding = false;
    Editing = false;
    c_.save->setEnabled(false);
    c_.list->setEnabled(true);
    c_.fields->setEnabled(false);
}

void EntryModes::beginAdding() {
    if (pending()) return;
    Adding = true;
    clearFields();  // emptying a field that held text counts as a change
    openFields();
}

void EntryModes::beginEditing() {
    if (pending() || currentKey().isEmpty()) return;
    Editing = true;
    keepShownRow();
    openFields();
}

void EntryModes::openFields() {
    c_.list->setEnabled(false);
    c_.fields->setEnabled(true);
    c_.firstField->setFocus();
}

void EntryModes::noteChange() {
    if (pending()) c_.save->setEnabled(true);
}

void EntryModes::leaveMode() {
    if (!pending()) return;
    startBrowsing();
    c_.list->setFocus();
    showCurrentRow();
}

void EntryModes::saveMode() {
    // Adding and Editing are never set together; a write that throws leaves
    // its flag set.
    if (Adding)
        insertRow();
    else if (Editing)
        updateRow();
    const bool written = pending();
    startBrowsing();
    // The row is stored now: whatever fails after it (a step of afterWrite,
    // the reload itself), the list is read again and the fields show its
    // current row, so that the fields never show one row while the list has
    // another current; then the first error is shown.
    std::exception_ptr failure;
    if (written) {
        try {
            afterWrite();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    try {
        reload();
    } catch (...) {
        if (!failure) failure = std::current_exception();
        showStoredRowOrNothing();
    }
    c_.list->setFocus();  // the fields it came from are closed now
    if (failure) std::rethrow_exception(failure);
}

void EntryModes::showStoredRowOrNothing() {
    try {
        showCurrentRow();
    } catch (...) {
        clearFields();  // nothing shown is better than another row's values
    }
}

void EntryModes::deleteCurrent() {
    if (pending() || currentKey().isEmpty()) return;
    bool deleted = false;
    {
        DisabledWhile disabled(c_.window);
        if (askDelete()) {
            deleteRow();
            deleted = true;
        }
    }
    if (deleted) reload();
    c_.list->setFocus();
}

bool EntryModes::takeEscape(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return false;
    event->accept();
    return true;
}

}  // namespace widgets
