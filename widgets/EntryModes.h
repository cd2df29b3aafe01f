#pragma once
// The browse / add / edit modes of a directory window: a list of stored
// rows (key in column 0), a group of entry fields and a save button.
//
// Browsing (both flags false): the list is enabled, the fields and the save
// button are not, and the fields show the current row. New or Edit starts a
// mode (one at a time, never over a pending change): the list is locked, the
// fields are open and the first of them has the focus; a change enables the
// save button. The save writes and ends the mode only once the write went
// through, so a refused value leaves it on, to be corrected or dropped with
// Esc, which shows the stored row again.
//
// What the windows differ in are the hooks below.
#include <QString>

class QKeyEvent;
class QWidget;

namespace widgets {

class StringGrid;

class EntryModes {
public:
    bool Adding = false;
    bool Editing = false;
    bool pending() const { return Adding || Editing; }

protected:
    struct Controls {
        QWidget* window;
        StringGrid* list;
        QWidget* fields;      // the group that holds the entry fields
        QWidget* save;        // the save button
        QWidget* firstField;  // takes the focus when a mode starts
    };
    EntryModes() = default;
    virtual ~EntryModes() = default;
    void setEntryControls(const Controls& controls) { c_ = controls; }  // once, when they are made

    // The hooks. Each write or delete throws when it fails.
    virtual void clearFields() = 0;     // empty fields for a new row
    virtual void showCurrentRow() = 0;  // the stored values of the current row
    virtual void insertRow() = 0;
    virtual void updateRow() = 0;       // the current row
    virtual void deleteRow() = 0;       // the current row
    virtual void reload() = 0;          // the window's activation handler
    virtual void afterWrite() {}
    // Edit begins: the window keeps what it shows of the stored row, which
    // its update compares with the row under a lock before writing.
    virtual void keepShownRow() {}

    QString currentKey() const;
    // The head of the activation handler: browsing, nothing pending.
    void startBrowsing();
    void beginAdding();   // New
    void beginEditing();  // Edit; not in an empty list
    void noteChange();    // a field changed: the save button while a mode is on
    void leaveMode();     // Esc in a field
    // Save: insertRow or updateRow, then afterWrite and reload; once the row
    // is written the reload runs whatever failed after it. The list has the
    // focus afterwards.
    void saveMode();
    // Delete: the current row after the question, with the window disabled
    // meanwhile; then reload. Either way the list has the focus.
    void deleteCurrent();
    // For the key handler of a dialog: the window has no cancel button, so
    // Esc is taken (true) and does not close it.
    static bool takeEscape(QKeyEvent* event);

private:
    void openFields();  // the list locked, the fields open, the first one focused
    void showStoredRowOrNothing();  // after a failed reload

    Controls c_{};
};

}  // namespace widgets
