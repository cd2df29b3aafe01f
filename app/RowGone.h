#pragma once
// A row that this workstation writes to, or refers to, was deleted on
// another one meanwhile. Thrown inside a write unit, it rolls the unit back;
// its text is shown as any error is.
#include <QString>
#include <functional>
#include <stdexcept>

namespace fb { class Query; }

namespace app {

class RowGone : public std::runtime_error {
public:
    explicit RowGone(const QString& text) : std::runtime_error(text.toStdString()) {}
};

QString contractGoneText();  // the contract being saved
QString carGoneText();       // the car a contract is saved for
QString rowGoneText();       // a catalogue, dictionary or directory row
QString rowBusyText();       // a row another workstation holds, for longer than a save waits

// After an update or delete by key: when the statement touched no row, the
// row is gone; `refresh` rebuilds the window's list, then RowGone is thrown.
void requireTouched(const fb::Query& q, const std::function<void()>& refresh);
// Runs `sql`, a delete of one row by :pk_id, for `key` and commits; a row
// already gone is met as requireTouched meets it.
void deleteByKey(const QString& sql, const QString& key, const std::function<void()>& refresh);

// Whether `table` still has the row with key `key`, taking the row with a lock (SELECT ... WITH LOCK) that holds to
// the end of the write unit this must run in: another workstation's delete
// or change of the row fails at once until then, so what is written under a
// row that was there is never left orphaned. A row that another workstation
// holds is waited for briefly, then RowGone(rowBusyText()) is thrown.
bool lockRow(const QString& table, int key);
// Inside a write unit: throws RowGone(carGoneText()) unless car `key` is in
// the database, and holds it to the end of the unit.
void requireCar(int key);

}  // namespace app
