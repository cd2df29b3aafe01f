#pragma once
// The work and spare-part lines of a contract in the editor's two grids:
// their columns and marks, filling them from the database with the totals,
// adding and marking lines, and writing the marked lines at the save.
//
// The state of a row lives in its first two (practically hidden) columns:
//   key, contract key   a stored line          nothing written
//   "+", "+"            a line not yet saved   inserted
//   key, "-"            a line to be deleted   deleted by its key
//   empty               blank or removed       nothing written
// A row marked "-" without a key (the blank row) is skipped as well.
#include "rtl/Money.h"

#include <QString>

namespace widgets { class StringGrid; }

namespace contracts {

// Column positions; the same in both grids for the first three.
enum LineCol { kLineKey = 0, kLineMark = 1, kLineName = 2 };
enum WorkCol { kWorkPrice = 3 };
enum SpareCol { kSpareQuantity = 3, kSparePrice = 4, kSpareSum = 5 };

QString newLineMark();      // "+"
QString deleteLineMark();   // "-"
QString deletionNotice();   // shown in the name column of a marked line

// Columns, titles, widths, font and colours of the grids.
void setupWorkGrid(widgets::StringGrid* grid);
void setupSpareGrid(widgets::StringGrid* grid);

// Back to the titles and one blank row.
void clearWorkLines(widgets::StringGrid* grid);
void clearSpareLines(widgets::StringGrid* grid);

// The lines of contract `key` in the database's order; the total of the
// prices (works) or of the line sums (spare parts) is returned.
rtl::Money loadWorkLines(widgets::StringGrid* grid, const QString& key);
rtl::Money loadSpareLines(widgets::StringGrid* grid, const QString& key);

// A new line in the last row when that row has no key, else in a new row.
// The texts are kept as given; they are checked at the save.
void appendWorkLine(widgets::StringGrid* grid, const QString& name, const QString& price);
void appendSpareLine(widgets::StringGrid* grid, const QString& name, const QString& quantity,
                     const QString& price);

// "Удалить" on `row`: a line not yet saved is blanked (false is returned);
// any other row is marked for deletion (true: there is a change to save).
bool markOrRemoveLine(widgets::StringGrid* grid, int row);

// Converts every text that the save of the grid will convert, top to bottom,
// and throws the first conversion error; nothing is written. Returns the
// total of the lines the contract keeps after the save (stored lines not
// marked for deletion and new lines); a price, a line sum or a total that
// the fixed-point amounts cannot hold is refused the same way.
rtl::Money checkWorkLines(const widgets::StringGrid* grid);
rtl::Money checkSpareLines(const widgets::StringGrid* grid);

// Writes the marked rows for contract `contractKey`, top to bottom, on the
// save's write unit; the grid is not changed (the saved contract is loaded
// again once the unit is committed).
void saveWorkLines(const widgets::StringGrid* grid, int contractKey);
void saveSpareLines(const widgets::StringGrid* grid, int contractKey);

}  // namespace contracts
