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
#include "fb/RowSet.h"
#include "rtl/Money.h"

#include <QString>

namespace widgets { class StringGrid; }

namespace contracts {

// Column positions; the same in both grids for the first three.
enum LineCol { kLineKey = 0, kLineMark = 1, kLineName = 2 };
enum WorkCol { kWorkPrice = 3 };
// The article number and maker of a spare line are kept, practically
// hidden, after the sum (empty on a database without them).
enum SpareCol { kSpareQuantity = 3, kSparePrice = 4, kSpareSum = 5, kSpareArt = 6, kSpareMaker = 7 };

QString newLineMark();      // "+"
QString deleteLineMark();   // "-"
QString deletionNotice();   // shown in the name column of a marked line

// What the work lines and the spare-part lines differ in (their table,
// columns, statements); one of the two kinds below is given to every
// routine. A work line is one of quantity 1 without a quantity column.
struct LineKind;
extern const LineKind kWorkLines;
extern const LineKind kSpareLines;

// Columns, titles, widths, font and colours of the grid.
void setupLineGrid(widgets::StringGrid* grid, const LineKind& kind);

// Back to the titles and one blank row.
void clearLines(widgets::StringGrid* grid, const LineKind& kind);

// The lines of contract `key` in the database's order; the total of the
// line sums (price times quantity) is returned as the editor shows it. A
// line whose sum the fixed-point amounts cannot hold (stored by an older
// program) is shown all the same, with the sum in the general number
// format, and so is the total then; checkLines refuses such a line.
QString loadLines(widgets::StringGrid* grid, const LineKind& kind, const QString& key);
// The same in two steps, so that a window reads everything before it shows
// anything: a failed read leaves the grid as it was.
fb::RowSet readLines(const LineKind& kind, const QString& key);
QString showLines(widgets::StringGrid* grid, const LineKind& kind, const fb::RowSet& lines);

// A new line in the last row when that row has no key, else in a new row.
// The texts are kept as given; they are checked at the save. The quantity,
// article and maker are ignored for work lines.
void appendLine(widgets::StringGrid* grid, const LineKind& kind, const QString& name, const QString& quantity,
                const QString& price, const QString& art = {}, const QString& maker = {});

// "Удалить" on `row`: a line not yet saved is blanked (false is returned);
// any other row is marked for deletion (true: there is a change to save).
bool markOrRemoveLine(widgets::StringGrid* grid, int row);

// Converts every text that the save of the grid will convert, top to bottom,
// and throws the first conversion error; nothing is written. Returns the
// total of the lines the contract keeps after the save (stored lines not
// marked for deletion and new lines); a price, a line sum or a total that
// the fixed-point amounts cannot hold is refused the same way, naming the
// line ("Работа в строке 2 («…»): …") or the grid's total.
rtl::Money checkLines(const widgets::StringGrid* grid, const LineKind& kind);

// Writes the marked rows for contract `contractKey`, top to bottom, on the
// save's write unit; the grid is not changed (the saved contract is loaded
// again once the unit is committed).
void saveLines(const widgets::StringGrid* grid, const LineKind& kind, int contractKey);

}  // namespace contracts
