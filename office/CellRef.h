#pragma once
// A1-style cell and range addresses: "b14" and "B14" name the same cell,
// "$" marks are accepted and ignored. Rows and columns count from 1.
#include <QString>

namespace office {

struct CellRef {
    int row = 0;
    int col = 0;
    bool operator==(const CellRef&) const = default;
};

struct RangeRef {
    CellRef first;
    CellRef last;
    bool contains(int row, int col) const
    {
        return row >= first.row && row <= last.row && col >= first.col && col <= last.col;
    }
    int rows() const { return last.row - first.row + 1; }
};

constexpr int kMaxRow = 1048576;
constexpr int kMaxCol = 16384;

// Column number from letters ("A" = 1, "AA" = 27); 0 for anything else.
int columnNumber(QStringView letters);
QString columnLetters(int col);

// Throw office::Error with the address in the text when it is not a cell.
CellRef parseCell(const QString& name);
// "A7:F9", or one cell as a range of one cell; corners are put in order.
RangeRef parseRange(const QString& name);
// Without throwing: false when the text is no cell address.
bool tryParseCell(QStringView name, CellRef& out);

QString cellName(int row, int col);
inline QString cellName(const CellRef& c) { return cellName(c.row, c.col); }
QString rangeName(const RangeRef& r);

} // namespace office
