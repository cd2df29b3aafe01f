#pragma once
// The rows a statement fetched, shown in a grid: the grid keeps the rows
// (just the columns it shows) and each cell's text is made from its row
// when the grid is painted or a cell is read.
#include "fb/RowSet.h"
#include "widgets/GridRows.h"

#include <functional>
#include <utility>

namespace app {

class FetchedRows : public widgets::GridRows {
public:
    // cell(rows, col, row): the text of grid column `col` for fetched row `row`.
    using Cell = std::function<QString(const fb::RowSet& rows, int col, int row)>;

    FetchedRows(fb::RowSet rows, Cell cell) : rows_(std::move(rows)), cell_(std::move(cell)) {}

    int count() const override { return rows_.rowCount(); }
    QString text(int col, int row) const override { return cell_(rows_, col, row); }
    const fb::RowSet& rows() const { return rows_; }

private:
    fb::RowSet rows_;
    Cell cell_;
};

}  // namespace app
