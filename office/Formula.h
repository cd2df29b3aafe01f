#pragma once
// Moving the cell references inside formula texts, the way a spreadsheet
// does when rows are inserted or deleted, or when a formula is copied to
// another cell. String literals, function names and defined names are left
// alone; "Sheet!A1" and "'Sheet name'!A1" are understood.
#include <QString>

namespace office {

// Rows inserted (count > 0) before row `at`, or deleted (count < 0): the
// rows at .. at - count - 1 go away.
struct RowShift {
    int at = 0;
    int count = 0;
};

// The row's number after the shift, 0 when the row was deleted.
int shiftedRow(int row, RowShift shift);
// A span of rows after the shift: grows when rows are inserted inside it,
// shrinks when some of its rows are deleted; false when all of it is gone.
bool shiftRowSpan(int& first, int& last, RowShift shift);

// References to `sheet` (and, when unqualifiedIsSheet, references without
// a sheet) follow the shift; a reference to a deleted cell becomes #REF!.
QString shiftFormula(const QString& formula, RowShift shift, const QString& sheet,
                     bool unqualifiedIsSheet);

// The formula as it reads when copied dRow rows and dCol columns away:
// relative parts move, "$" parts stay.
QString offsetFormula(const QString& formula, int dRow, int dCol);

} // namespace office
