#include "widgets/StringGridModel.h"

#include <QMetaObject>
#include <algorithm>

namespace widgets {

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void StringGridModel::setRows(int rows) {
    rows = std::max(rows, 1);
    if (rows == rows_)
        return;
    storeSourceTexts(std::min(rows, rows_));
    resizeRows(rows);
}

void StringGridModel::resizeRows(int rows) {
    if (rows == rows_)
        return;
    const size_t stored = source_ ? 1 : size_t(rows);
    const int oldData = rows_ - 1, newData = rows - 1;
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), oldData, newData - 1);
        for (auto& col : cells_)
            col.resize(stored);
        rows_ = rows;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), newData, oldData - 1);
        for (auto& col : cells_)
            col.resize(stored);
        rows_ = rows;
        endRemoveRows();
    }
}

void StringGridModel::setSource(std::shared_ptr<const GridRows> rows) {
    for (auto& col : cells_) {
        col.resize(1);
        col.shrink_to_fit();
    }
    source_ = std::move(rows);
    if (!source_) {
        for (auto& col : cells_)
            col.resize(size_t(rows_));
        return;
    }
    resizeRows(std::max(source_->count(), 1) + 1);
    allDataTouched();
}

void StringGridModel::allDataTouched() {
    if (filling_ > 0 || rows_ < 2 || cols() == 0)
        return;
    dataDirty_ = true;
    dirtyTop_ = 0;
    dirtyBottom_ = rows_ - 2;
    dirtyLeft_ = 0;
    dirtyRight_ = cols() - 1;
    scheduleFlush();
}

void StringGridModel::storeSourceTexts(int keptRows) {
    if (!source_)
        return;
    const std::shared_ptr<const GridRows> rows = std::move(source_);
    const int n = std::min({rows->count(), rows_ - 1, keptRows < 0 ? rows_ : keptRows - 1});
    for (int c = 0; c < cols(); ++c) {
        auto& col = cells_[size_t(c)];
        col.resize(size_t(rows_));
        for (int r = 0; r < n; ++r)
            col[size_t(r) + 1] = rows->text(c, r);
    }
}

void StringGridModel::setCols(int cols) {
    cols = std::max(cols, 0);
    const int old = this->cols();
    if (cols == old)
        return;
    if (cols > old) {
        beginInsertColumns(QModelIndex(), old, cols - 1);
        cells_.resize(size_t(cols), std::vector<QString>(source_ ? 1 : size_t(rows_)));
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), cols, old - 1);
        cells_.resize(size_t(cols));
        endRemoveColumns();
    }
}

QString StringGridModel::cell(int col, int row) const {
    if (!inRange(col, row))
        return QString();
    if (source_ && row > 0)
        return row - 1 < source_->count() ? source_->text(col, row - 1) : QString();
    return cells_[size_t(col)][size_t(row)];
}

void StringGridModel::setCell(int col, int row, const QString& text) {
    if (!inRange(col, row))
        return;
    if (row > 0)
        storeSourceTexts();
    cells_[size_t(col)][size_t(row)] = text;
    touched(col, row);
}

void StringGridModel::setCell(int col, int row, QString&& text) {
    if (!inRange(col, row))
        return;
    if (row > 0)
        storeSourceTexts();
    cells_[size_t(col)][size_t(row)] = std::move(text);
    touched(col, row);
}

void StringGridModel::clearDataCells() {
    if (source_) {
        source_.reset();
        for (auto& col : cells_)
            col.resize(size_t(rows_));
    }
    for (auto& col : cells_)
        std::fill(col.begin() + 1, col.end(), QString());
    allDataTouched();
}

void StringGridModel::endFill() {
    if (filling_ == 0 || --filling_ > 0)
        return;
    dataDirty_ = rows_ > 1 && cols() > 0;
    titlesDirty_ = cols() > 0;
    dirtyTop_ = 0;
    dirtyBottom_ = rows_ - 2;
    dirtyLeft_ = titleLeft_ = 0;
    dirtyRight_ = titleRight_ = cols() - 1;
    flush();
}

void StringGridModel::setTitleBrush(const QBrush& brush) {
    titleBrush_ = brush;
    if (cols() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, cols() - 1);
}

void StringGridModel::touched(int col, int row) {
    if (filling_ > 0)
        return;
    if (row == 0) {
        if (!titlesDirty_) {
            titlesDirty_ = true;
            titleLeft_ = titleRight_ = col;
        } else {
            titleLeft_ = std::min(titleLeft_, col);
            titleRight_ = std::max(titleRight_, col);
        }
    } else {
        const int r = row - 1;
        if (!dataDirty_) {
            dataDirty_ = true;
            dirtyTop_ = dirtyBottom_ = r;
            dirtyLeft_ = dirtyRight_ = col;
        } else {
            dirtyTop_ = std::min(dirtyTop_, r);
            dirtyBottom_ = std::max(dirtyBottom_, r);
            dirtyLeft_ = std::min(dirtyLeft_, col);
            dirtyRight_ = std::max(dirtyRight_, col);
        }
    }
    scheduleFlush();
}

void StringGridModel::scheduleFlush() {
    if (flushPending_)
        return;
    flushPending_ = true;
    QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
}

void StringGridModel::flush() {
    flushPending_ = false;
    if (dataDirty_) {
        dataDirty_ = false;
        const int bottom = std::min(dirtyBottom_, rows_ - 2);
        const int right = std::min(dirtyRight_, cols() - 1);
        if (dirtyTop_ <= bottom && dirtyLeft_ <= right)
            emit dataChanged(index(dirtyTop_, dirtyLeft_), index(bottom, right), {Qt::DisplayRole});
    }
    if (titlesDirty_) {
        titlesDirty_ = false;
        const int right = std::min(titleRight_, cols() - 1);
        if (titleLeft_ <= right)
            emit headerDataChanged(Qt::Horizontal, titleLeft_, right);
    }
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_ - 1;
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols();
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int col = index.column(), row = index.row() + 1;
    if (!inRange(col, row))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cell(col, row);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= cols())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cells_[size_t(section)][0];
    case Qt::BackgroundRole:
        if (titleBrush_.style() != Qt::NoBrush)
            return titleBrush_;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace widgets
