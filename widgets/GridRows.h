#pragma once
// Data rows a StringGrid shows without holding their texts: the text of a
// cell is made when the view or a caller asks for it. A list of a hundred
// thousand rows then costs what its source keeps, not a string per cell.
#include <QString>

namespace widgets {

class GridRows {
public:
    virtual ~GridRows() = default;
    virtual int count() const = 0;                     // data rows
    virtual QString text(int col, int row) const = 0;  // row 0 is the first data row
};

}  // namespace widgets
