#pragma once
// A list grid addressed cell by cell (column, row) over a plain string store.
//
// Row 0 is the title row (shown as the
// horizontal header, never as a data row), data rows are 1..rowCount()-1,
// and rowCount() counts the title row. Column 0 usually holds the row key and
// is 2 pixels wide. Whole rows are selected; columns can be resized and moved
// by the user; there is a vertical scroll bar only and no cell editing.
//
// Refilling a big list: either setRowCount() then setCell() per cell (the
// view is told once, from the event loop), or beginFill(rows) / setCell() /
// endFill(), which also empties the old data cells first. A long list is
// better shown with fill(rows): the texts are made only when asked for.
#include <QColor>
#include <QStringList>
#include <QTableView>

#include <memory>
#include <span>

#include "widgets/GridRows.h"

namespace widgets {

// The header colour of the directory and catalogue lists.
inline constexpr QRgb kTitleYellow = 0xFFFFB3;

class StringGridModel;

// One column of a list: its title (UTF-8) and its width in pixels.
struct GridColumn {
    const char* title;
    int width;
};

// The titles of a column table, in order.
QStringList columnTitles(std::span<const GridColumn> columns);

class StringGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    // Cells. Reads out of range give an empty text, writes out of range are dropped.
    Q_INVOKABLE QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    void setCell(int col, int row, QString&& text);
    void setTitles(const QStringList& titles);  // row 0, from column 0 on
    // As many columns as the table has, with its widths and titles.
    void setColumns(std::span<const GridColumn> columns);

    // Row count including the title row; at least 1. setRowCount(2) means one
    // data row. Shrinking keeps the current row, pulled back to the last row.
    Q_INVOKABLE int rowCount() const;
    void setRowCount(int rows);
    int colCount() const;
    void setColCount(int cols);

    // The current data row (1..rowCount()-1); -1 when there is no data row.
    // While there are data rows there always is a current row. Setting a row
    // out of range is ignored.
    Q_INVOKABLE int currentRow() const;
    void setCurrentRow(int row);

    int colWidth(int col) const;
    void setColWidth(int col, int width);
    void setDefaultRowHeight(int height);
    void setTitleColor(const QColor& color);

    // Bulk refill: row count set (title row included), data cells emptied.
    void beginFill(int rows);
    void endFill();

    // The data rows from a source (see GridRows); no rows → one blank row.
    // The current row is kept as by a bulk refill.
    void fill(std::shared_ptr<const GridRows> rows);

    // Row count 2 with every cell of row 1 empty: the empty list.
    void clearToBlankRow();

    // Escape goes on to the parent (a dialog closes) when set; default: not.
    bool escapePropagates() const { return escapePropagates_; }
    void setEscapePropagates(bool on) { escapePropagates_ = on; }

signals:
    // Every key press, before the grid moves its current row.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // Enter or Return (the grid does nothing else with it).
    void enterPressed();
    void escapePressed();
    // A mouse click on a data row, or a move of the current row by the user
    // with the keyboard; row is the current row afterwards.
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    // Any change of the current row, by the user or by the program.
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void afterRowCountChange(int wantedRow);
    void selectCurrentRow();

    StringGridModel* model_;
    int defaultColWidth_ = 64;
    bool escapePropagates_ = false;
    bool filling_ = false;
    int fillSavedRow_ = -1;
};

}  // namespace widgets
