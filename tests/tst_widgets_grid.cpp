// The list grid: cells addressed by column and row (row 0 the titles) over a string store.
#include "widgets/StringGrid.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace widgets;

namespace {

// A grid of `cols` columns with titles T0.. and `dataRows` rows "c:r".
void fillGrid(StringGrid& grid, int cols, int dataRows) {
    grid.setColCount(cols);
    grid.setRowCount(dataRows + 1);
    for (int c = 0; c < cols; ++c) {
        grid.setCell(c, 0, QStringLiteral("T%1").arg(c));
        for (int r = 1; r <= dataRows; ++r)
            grid.setCell(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    }
}

// Rows "c:r" (r counted from 1, as the grid numbers them) made on request;
// `asked` counts the texts made.
class Rows : public GridRows {
public:
    explicit Rows(int n) : n_(n) {}
    int count() const override { return n_; }
    QString text(int col, int row) const override {
        ++asked;
        return QStringLiteral("%1:%2").arg(col).arg(row + 1);
    }
    mutable int asked = 0;

private:
    int n_;
};

}  // namespace

class TestWidgetsGrid : public QObject {
    Q_OBJECT
private slots:
    void titleRowIsTheHeader();
    void cellApi();
    void blankRowAndTitleOnly();
    void currentRowAcrossRowCountChanges();
    void bulkFill();
    void fillFromSource();
    void sourceGivesWayToWrites();
    void largeFill();
    void keys();
    void mouse();
};

void TestWidgetsGrid::titleRowIsTheHeader() {
    StringGrid grid;
    fillGrid(grid, 3, 2);
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.model()->rowCount(), 2);  // the title row is no data row of the view
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("T1"));
    QCOMPARE(grid.model()->index(0, 1).data().toString(), QStringLiteral("1:1"));

    grid.setTitles({QStringLiteral("  ID"), QStringLiteral("  НОМЕР")});
    QCOMPARE(grid.cell(1, 0), QStringLiteral("  НОМЕР"));
    QCOMPARE(grid.cell(2, 0), QStringLiteral("T2"));

    grid.setTitleColor(QColor(255, 255, 179));
    QCOMPARE(grid.model()->headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color(),
             QColor(255, 255, 179));

    // The invokable API, as other code reaches it by name.
    QString text;
    int rows = 0;
    QVERIFY(QMetaObject::invokeMethod(&grid, "cell", Q_RETURN_ARG(QString, text), Q_ARG(int, 1), Q_ARG(int, 2)));
    QVERIFY(QMetaObject::invokeMethod(&grid, "rowCount", Q_RETURN_ARG(int, rows)));
    QCOMPARE(text, QStringLiteral("1:2"));
    QCOMPARE(rows, 3);
}

void TestWidgetsGrid::cellApi() {
    StringGrid grid;
    grid.setColCount(4);
    QCOMPARE(grid.colCount(), 4);
    QCOMPARE(grid.colWidth(0), 2);  // the key column
    grid.setColWidth(3, 146);
    QCOMPARE(grid.colWidth(3), 146);
    QCOMPARE(grid.colWidth(7), 0);

    grid.setRowCount(3);
    grid.setCell(2, 2, QStringLiteral("x"));
    QCOMPARE(grid.cell(2, 2), QStringLiteral("x"));
    // Out of range: reads are empty, writes change nothing.
    grid.setCell(9, 1, QStringLiteral("lost"));
    grid.setCell(1, 3, QStringLiteral("lost"));
    grid.setCell(-1, 1, QStringLiteral("lost"));
    QCOMPARE(grid.cell(9, 1), QString());
    QCOMPARE(grid.cell(1, 3), QString());
    QCOMPARE(grid.cell(0, -1), QString());
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.model()->index(5, 5).data(), QVariant());

    // Growing adds empty rows and keeps the cells; the view learns of the
    // writes once, from the event loop.
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    grid.setRowCount(5);
    QCOMPARE(grid.cell(2, 2), QStringLiteral("x"));
    QCOMPARE(grid.cell(2, 4), QString());
    for (int r = 1; r < 5; ++r)
        grid.setCell(1, r, QString::number(r));
    QCOMPARE(changed.count(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 1);

    // Columns can be moved by the user without changing the cell numbering.
    grid.horizontalHeader()->moveSection(1, 3);
    QCOMPARE(grid.cell(1, 4), QStringLiteral("4"));
    grid.setColCount(2);
    QCOMPARE(grid.cell(1, 4), QStringLiteral("4"));
    QCOMPARE(grid.cell(2, 2), QString());
}

void TestWidgetsGrid::blankRowAndTitleOnly() {
    StringGrid grid;
    fillGrid(grid, 3, 5);
    grid.setCurrentRow(4);
    grid.clearToBlankRow();
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.currentRow(), 1);
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(grid.cell(c, 1), QString());
        QCOMPARE(grid.cell(c, 0), QStringLiteral("T%1").arg(c));
    }

    // A grid reduced to its title row has no current row; the key read from
    // "the current row" is empty, not a title.
    grid.setRowCount(0);
    QCOMPARE(grid.rowCount(), 1);
    QCOMPARE(grid.currentRow(), -1);
    QCOMPARE(grid.cell(0, grid.currentRow()), QString());
    grid.setCurrentRow(1);
    QCOMPARE(grid.currentRow(), -1);

    // Rows coming back get a current row again.
    grid.setRowCount(3);
    QCOMPARE(grid.currentRow(), 1);
}

void TestWidgetsGrid::currentRowAcrossRowCountChanges() {
    StringGrid grid;
    QSignalSpy moved(&grid, &StringGrid::currentRowChanged);
    fillGrid(grid, 3, 9);
    QCOMPARE(grid.currentRow(), 1);

    grid.setCurrentRow(8);
    QCOMPARE(grid.currentRow(), 8);
    QCOMPARE(moved.last().at(0).toInt(), 8);
    QVERIFY(grid.selectionModel()->isRowSelected(7, QModelIndex()));

    grid.setCurrentRow(10);  // out of range: ignored
    grid.setCurrentRow(0);
    QCOMPARE(grid.currentRow(), 8);

    grid.setRowCount(20);  // growing keeps the row
    QCOMPARE(grid.currentRow(), 8);

    grid.setRowCount(5);  // shrinking pulls it back to the last row, still selected
    QCOMPARE(grid.currentRow(), 4);
    QCOMPARE(moved.last().at(0).toInt(), 4);
    QVERIFY(grid.selectionModel()->isRowSelected(3, QModelIndex()));
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);

    grid.clearToBlankRow();
    QCOMPARE(grid.currentRow(), 1);
    QVERIFY(grid.selectionModel()->isRowSelected(0, QModelIndex()));
}

void TestWidgetsGrid::bulkFill() {
    StringGrid grid;
    fillGrid(grid, 3, 6);
    grid.setCurrentRow(5);
    QSignalSpy reset(grid.model(), &QAbstractItemModel::dataChanged);

    // A refill to fewer rows: old cells gone, titles kept, row pulled back.
    grid.beginFill(4);
    QCOMPARE(grid.cell(1, 2), QString());
    QCOMPARE(grid.currentRow(), 3);
    grid.setCell(1, 2, QStringLiteral("new"));
    grid.endFill();
    QCOMPARE(reset.count(), 1);  // told at once, not from the event loop
    QCOMPARE(grid.rowCount(), 4);
    QCOMPARE(grid.cell(1, 2), QStringLiteral("new"));
    QCOMPARE(grid.cell(1, 1), QString());
    QCOMPARE(grid.cell(1, 0), QStringLiteral("T1"));
    QCOMPARE(grid.currentRow(), 3);

    // A refill to more rows keeps the current row where it was.
    grid.setCurrentRow(2);
    grid.beginFill(50);
    grid.endFill();
    QCOMPARE(grid.currentRow(), 2);
    QCoreApplication::processEvents();
    QCOMPARE(reset.count(), 2);
}

void TestWidgetsGrid::fillFromSource() {
    StringGrid grid;
    fillGrid(grid, 3, 6);
    grid.setCurrentRow(5);
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);

    auto rows = std::make_shared<Rows>(100000);
    grid.fill(rows);
    QCOMPARE(rows->asked, 0);  // nothing made until asked
    QCOMPARE(changed.count(), 1);
    QCOMPARE(grid.rowCount(), 100001);
    QCOMPARE(grid.model()->rowCount(), 100000);
    QCOMPARE(grid.currentRow(), 5);
    QCOMPARE(grid.cell(2, 100000), QStringLiteral("2:100000"));
    QCOMPARE(grid.model()->index(0, 1).data().toString(), QStringLiteral("1:1"));
    QCOMPARE(grid.cell(1, 0), QStringLiteral("T1"));  // titles are the grid's own
    QCOMPARE(grid.cell(3, 1), QString());             // out of range as before
    QCOMPARE(grid.cell(0, 100001), QString());

    // A shorter source pulls the current row back; an empty one is the blank row.
    grid.setCurrentRow(99999);
    grid.fill(std::make_shared<Rows>(10));
    QCOMPARE(grid.rowCount(), 11);
    QCOMPARE(grid.currentRow(), 10);
    QCOMPARE(grid.cell(0, 10), QStringLiteral("0:10"));
    grid.fill(std::make_shared<Rows>(0));
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.currentRow(), 1);
    QCOMPARE(grid.cell(0, 1), QString());
    QCOMPARE(grid.cell(2, 0), QStringLiteral("T2"));
}

void TestWidgetsGrid::sourceGivesWayToWrites() {
    // A write to a data row turns the source's texts into cells, so no text is lost.
    StringGrid grid;
    fillGrid(grid, 2, 1);
    grid.fill(std::make_shared<Rows>(3));
    grid.setCell(1, 2, QStringLiteral("own"));
    QCOMPARE(grid.cell(1, 2), QStringLiteral("own"));
    QCOMPARE(grid.cell(0, 3), QStringLiteral("0:3"));
    QCOMPARE(grid.cell(1, 1), QStringLiteral("1:1"));

    // So does a new row count: the rows kept keep their texts.
    grid.fill(std::make_shared<Rows>(3));
    grid.setRowCount(6);
    QCOMPARE(grid.cell(1, 3), QStringLiteral("1:3"));
    QCOMPARE(grid.cell(1, 5), QString());
    grid.setCell(0, 5, QStringLiteral("x"));
    QCOMPARE(grid.cell(0, 5), QStringLiteral("x"));
    auto many = std::make_shared<Rows>(1000);
    grid.fill(many);
    grid.setRowCount(3);  // only the rows that stay are made
    QCOMPARE(many->asked, 2 * 2);
    QCOMPARE(grid.cell(1, 2), QStringLiteral("1:2"));
    QCOMPARE(grid.cell(1, 3), QString());

    // A title write leaves the source alone; a bulk refill drops it.
    auto rows = std::make_shared<Rows>(4);
    grid.fill(rows);
    grid.setTitles({QStringLiteral("A")});
    QCOMPARE(grid.cell(0, 0), QStringLiteral("A"));
    QCOMPARE(grid.cell(0, 4), QStringLiteral("0:4"));
    grid.beginFill(3);
    grid.setCell(0, 1, QStringLiteral("b"));
    grid.endFill();
    QCOMPARE(grid.cell(0, 1), QStringLiteral("b"));
    QCOMPARE(grid.cell(0, 2), QString());
    QCOMPARE(grid.rowCount(), 3);

    // Columns added while a source is set read from it; the blank row of a
    // cleared grid is blank.
    grid.fill(std::make_shared<Rows>(2));
    grid.setColCount(3);
    QCOMPARE(grid.cell(2, 2), QStringLiteral("2:2"));
    grid.clearToBlankRow();
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.cell(0, 1), QString());
}

void TestWidgetsGrid::largeFill() {
    StringGrid grid;
    grid.setColCount(8);
    grid.resize(800, 500);
    grid.show();
    const int rows = 100000;

    // The texts are made beforehand, so that the times are the grid's own.
    std::vector<QString> texts(rows + 1);
    for (int r = 1; r <= rows; ++r)
        texts[size_t(r)] = QStringLiteral("  cell %1").arg(r);

    QElapsedTimer timer;
    timer.start();
    grid.beginFill(rows + 1);
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < 8; ++c)
            grid.setCell(c, r, texts[size_t(r)]);
    grid.endFill();
    QCoreApplication::processEvents();
    const qint64 bulk = timer.elapsed();

    // As the windows fill a list: a blank list, the row count, then cell by cell.
    timer.restart();
    grid.clearToBlankRow();
    grid.setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < 8; ++c)
            grid.setCell(c, r, texts[size_t(rows + 1 - r)]);
    QCoreApplication::processEvents();
    const qint64 cellByCell = timer.elapsed();
    qInfo("100000 x 8: bulk fill %lld ms, row count + cells %lld ms", bulk, cellByCell);

    QCOMPARE(grid.rowCount(), rows + 1);
    QCOMPARE(grid.model()->rowCount(), rows);
    QCOMPARE(grid.cell(7, rows), QStringLiteral("  cell 1"));
    QCOMPARE(grid.cell(3, 1), QStringLiteral("  cell %1").arg(rows));
    grid.setCurrentRow(rows);
    QCOMPARE(grid.currentRow(), rows);
    grid.clearToBlankRow();
    QCOMPARE(grid.currentRow(), 1);
}

void TestWidgetsGrid::keys() {
    StringGrid grid;
    fillGrid(grid, 3, 5);
    grid.show();
    QSignalSpy enter(&grid, &StringGrid::enterPressed);
    QSignalSpy escape(&grid, &StringGrid::escapePressed);
    QSignalSpy clicked(&grid, &StringGrid::rowClicked);
    QList<int> rowAtKeyDown;
    QList<int> keys;
    Qt::KeyboardModifiers lastModifiers;
    connect(&grid, &StringGrid::keyDown, this, [&](int key, Qt::KeyboardModifiers modifiers) {
        keys.append(key);
        lastModifiers = modifiers;
        rowAtKeyDown.append(grid.currentRow());
    });

    // Key down comes before the grid moves; the move then counts as a click.
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(rowAtKeyDown.last(), 1);
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.last().at(0).toInt(), 2);

    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(enter.count(), 2);
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(clicked.count(), 1);

    QTest::keyClick(&grid, Qt::Key_F4, Qt::AltModifier);
    QCOMPARE(keys.last(), int(Qt::Key_F4));
    QCOMPARE(lastModifiers, Qt::KeyboardModifiers(Qt::AltModifier));
    QTest::keyClick(&grid, Qt::Key_F4, Qt::AltModifier | Qt::ShiftModifier);
    QCOMPARE(lastModifiers, Qt::AltModifier | Qt::ShiftModifier);

    // Neither Enter nor Escape reaches the dialog around the grid.
    QDialog dialog;
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* inner = new StringGrid(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(inner);
    layout->addWidget(ok);
    QSignalSpy okClicked(ok, &QPushButton::clicked);
    dialog.show();
    inner->setFocus();
    QTest::keyClick(inner, Qt::Key_Return);
    QTest::keyClick(inner, Qt::Key_Escape);
    QCOMPARE(okClicked.count(), 0);
    QVERIFY(dialog.isVisible());
    inner->setEscapePropagates(true);
    QTest::keyClick(inner, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());

    QTest::keyClick(&grid, Qt::Key_Escape);
    QCOMPARE(escape.count(), 1);
}

void TestWidgetsGrid::mouse() {
    StringGrid grid;
    fillGrid(grid, 3, 5);
    grid.setColWidth(1, 100);
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy clicked(&grid, &StringGrid::rowClicked);
    QSignalSpy doubleClicked(&grid, &StringGrid::rowDoubleClicked);

    const QPoint row3 = grid.visualRect(grid.model()->index(2, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, row3);
    QCOMPARE(grid.currentRow(), 3);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.last().at(0).toInt(), 3);

    // A double click is a press and release, then the double-click event.
    const QPoint row4 = grid.visualRect(grid.model()->index(3, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, row4);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, row4);
    QCOMPARE(grid.currentRow(), 4);
    QCOMPARE(doubleClicked.count(), 1);
    QCOMPARE(doubleClicked.last().at(0).toInt(), 4);
    QCOMPARE(clicked.count(), 2);
}

QTEST_MAIN(TestWidgetsGrid)
#include "tst_widgets_grid.moc"
