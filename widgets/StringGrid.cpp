#include "widgets/StringGrid.h"

#include "widgets/StringGridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace widgets {

QStringList columnTitles(std::span<const GridColumn> columns) {
    QStringList titles;
    for (const GridColumn& c : columns) titles << QString::fromUtf8(c.title);
    return titles;
}

StringGrid::StringGrid(QWidget* parent) : QTableView(parent), model_(new StringGridModel(this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);  // Tab leaves the grid for the next control
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);

    QHeaderView* titles = horizontalHeader();
    titles->setSectionsMovable(true);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setStretchLastSection(false);
    titles->setMinimumSectionSize(0);  // the key column is 2 pixels wide
    titles->setDefaultSectionSize(defaultColWidth_);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setHighlightSections(false);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                emit currentRowChanged(current.isValid() ? current.row() + 1 : -1);
            });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex&) { emit rowDoubleClicked(currentRow()); });

    setColCount(1);
    setRowCount(2);
}

QString StringGrid::cell(int col, int row) const {
    return model_->cell(col, row);
}

void StringGrid::setCell(int col, int row, const QString& text) {
    model_->setCell(col, row, text);
}

void StringGrid::setCell(int col, int row, QString&& text) {
    model_->setCell(col, row, std::move(text));
}

void StringGrid::setColumns(std::span<const GridColumn> columns) {
    setColCount(int(columns.size()));
    for (int c = 0; c < int(columns.size()); ++c) setColWidth(c, columns[c].width);
    setTitles(columnTitles(columns));
}

void StringGrid::setTitles(const QStringList& titles) {
    for (int col = 0; col < titles.size(); ++col)
        model_->setCell(col, 0, titles[col]);
}

int StringGrid::rowCount() const {
    return model_->rows();
}

void StringGrid::setRowCount(int rows) {
    model_->setRows(rows);
    afterRowCountChange(0);
}

int StringGrid::colCount() const {
    return model_->cols();
}

void StringGrid::setColCount(int cols) {
    const int old = model_->cols();
    model_->setCols(cols);
    for (int col = old; col < model_->cols(); ++col)
        horizontalHeader()->resizeSection(col, col == 0 ? 2 : defaultColWidth_);
    afterRowCountChange(0);
}

int StringGrid::currentRow() const {
    if (filling_)
        return rowCount() > 1 ? std::clamp(fillSavedRow_, 1, rowCount() - 1) : -1;
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : -1;
}

void StringGrid::setCurrentRow(int row) {
    if (row < 1 || row >= rowCount() || colCount() == 0)
        return;
    const QModelIndex current = currentIndex();
    const int col = current.isValid() ? current.column() : 0;
    selectionModel()->setCurrentIndex(model_->index(row - 1, col),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int StringGrid::colWidth(int col) const {
    return col >= 0 && col < colCount() ? horizontalHeader()->sectionSize(col) : 0;
}

void StringGrid::setColWidth(int col, int width) {
    if (col >= 0 && col < colCount())
        horizontalHeader()->resizeSection(col, std::max(width, 0));
}

void StringGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(std::max(height, 1));
}

void StringGrid::setTitleColor(const QColor& color) {
    model_->setTitleBrush(color.isValid() ? QBrush(color) : QBrush());
}

void StringGrid::beginFill(int rows) {
    // The view may move its current index while rows go; the row to come
    // back to is the one that was current before the fill.
    if (!filling_) {
        fillSavedRow_ = currentRow();
        filling_ = true;
        model_->beginFill();
    }
    model_->setRows(rows);
    model_->clearDataCells();
}

void StringGrid::endFill() {
    if (!filling_)
        return;
    filling_ = false;
    model_->endFill();
    afterRowCountChange(fillSavedRow_);
}

void StringGrid::fill(std::shared_ptr<const GridRows> rows) {
    const bool outer = !filling_;
    if (outer) {
        fillSavedRow_ = currentRow();
        filling_ = true;
        model_->beginFill();
    }
    model_->setSource(std::move(rows));
    if (outer)
        endFill();
}

void StringGrid::clearToBlankRow() {
    setRowCount(2);
    for (int col = 0; col < colCount(); ++col)
        model_->setCell(col, 1, QString());
}

void StringGrid::afterRowCountChange(int wantedRow) {
    if (rowCount() < 2 || colCount() == 0)
        return;
    const int current = currentRow();
    if (wantedRow <= 0)
        wantedRow = current > 0 ? current : 1;
    const int row = std::clamp(wantedRow, 1, rowCount() - 1);
    if (row != current)
        setCurrentRow(row);
    else
        selectCurrentRow();
}

void StringGrid::selectCurrentRow() {
    const QModelIndex current = currentIndex();
    if (current.isValid() && !selectionModel()->isRowSelected(current.row(), QModelIndex()))
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    emit keyDown(event->key(), event->modifiers());
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit enterPressed();
        return;
    case Qt::Key_Escape:
        event->setAccepted(!escapePropagates_);
        emit escapePressed();
        return;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
    const int after = currentRow();
    if (after != before && after > 0)
        emit rowClicked(after);
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit rowClicked(currentRow());
}

}  // namespace widgets
