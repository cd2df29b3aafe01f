#pragma once
// The cell store behind StringGrid: one vector of strings per column, row 0
// being the title row. The view sees the data rows as its rows and row 0 as
// its horizontal header.
#include <QAbstractTableModel>
#include <QBrush>
#include <QString>
#include <memory>
#include <vector>

#include "widgets/GridRows.h"

namespace widgets {

class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StringGridModel(QObject* parent = nullptr);

    // Row 0 is the title row, and rows() counts it.
    int rows() const { return rows_; }
    int cols() const { return int(cells_.size()); }
    void setRows(int rows);   // at least 1 (the title row)
    void setCols(int cols);   // at least 0

    // Out-of-range reads give an empty text; out-of-range writes are dropped.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    void setCell(int col, int row, QString&& text);

    // Empties every data cell (the titles stay).
    void clearDataCells();

    // The data rows come from `rows` (at least one row: an empty source
    // shows one blank row). Any later write to a data row, or a new row
    // count, first turns the source's texts into stored cells.
    void setSource(std::shared_ptr<const GridRows> rows);

    // Bulk filling: between beginFill and endFill cell writes send no
    // notifications; endFill tells the view once.
    void beginFill() { ++filling_; }
    void endFill();

    void setTitleBrush(const QBrush& brush);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool inRange(int col, int row) const { return col >= 0 && col < cols() && row >= 0 && row < rows_; }
    void resizeRows(int rows);
    void storeSourceTexts(int keptRows = -1);  // rows counted as rows(); -1: all
    void touched(int col, int row);
    void allDataTouched();  // every data cell, told from the event loop
    void scheduleFlush();
    void flush();

    std::vector<std::vector<QString>> cells_;  // cells_[col][row]; only row 0 while a source is set
    std::shared_ptr<const GridRows> source_;
    int rows_ = 1;
    QBrush titleBrush_;

    // Cell writes outside a fill are gathered and told to the view once,
    // from the event loop, so that a refill cell by cell, row by row, stays cheap.
    int filling_ = 0;
    bool flushPending_ = false;
    bool dataDirty_ = false;
    bool titlesDirty_ = false;
    int dirtyTop_ = 0, dirtyBottom_ = 0, dirtyLeft_ = 0, dirtyRight_ = 0;  // model rows/columns
    int titleLeft_ = 0, titleRight_ = 0;
};

}  // namespace widgets
