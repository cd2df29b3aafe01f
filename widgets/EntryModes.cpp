#include "widgets/EntryModes.h"

#include "widgets/DisabledWhile.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QKeyEvent>

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
    if (written) afterWrite();
    reload();
    c_.list->setFocus();  // the fields it came from are closed now
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
