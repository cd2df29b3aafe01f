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
    c_.list->setEnabled(false);
    c_.fields->setEnabled(true);
    c_.firstField->setFocus();
}

void EntryModes::beginEditing() {
    if (pending() || currentKey().isEmpty()) return;
    Editing = true;
    c_.list->setEnabled(false);
    c_.fields->setEnabled(true);
    c_.firstField->setFocus();
}

void EntryModes::noteChange() {
    if (pending()) c_.save->setEnabled(true);
}

void EntryModes::leaveMode() {
    if (!pending()) return;
    Adding = false;
    Editing = false;
    c_.fields->setEnabled(false);
    c_.save->setEnabled(false);
    c_.list->setEnabled(true);
    c_.list->setFocus();
    showCurrentRow();
}

void EntryModes::saveMode() {
    bool written = false;
    if (Adding) {
        insertRow();
        Adding = false;
        written = true;
    }
    if (Editing) {
        updateRow();
        Editing = false;
        written = true;
    }
    c_.save->setEnabled(false);
    c_.fields->setEnabled(false);
    if (written) afterWrite();
    reload();
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
    if (deleted)
        reload();
    else
        c_.list->setFocus();
}

bool EntryModes::takeEscape(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return false;
    event->accept();
    return true;
}

}  // namespace widgets
