#include "contracts/ContractLines.h"

#include "app/DM.h"
#include "fb/Cp1251.h"
#include "rtl/Convert.h"
#include "widgets/StringGrid.h"

#include <QFont>
#include <QPainter>
#include <QStyledItemDelegate>

namespace contracts {

namespace {

const QColor kTitleColor(255, 255, 179);
const QColor kRuleColor(205, 205, 205);

// Horizontal grid lines only: each cell draws the line under itself.
class RuledRowsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(kRuleColor);
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

QStringList workTitles() {
    return {QStringLiteral("id"), QStringLiteral("fk"), QStringLiteral("Наименование работ"),
            QStringLiteral("Стоимость")};
}

QStringList spareTitles() {
    return {QStringLiteral("id"),         QStringLiteral("fk"),        QStringLiteral("Наименование запчасти"),
            QStringLiteral("Количество"), QStringLiteral("Стоимость"), QStringLiteral("Сумма")};
}

void setupGrid(widgets::StringGrid* grid, const QStringList& titles, std::initializer_list<int> widths) {
    grid->setColCount(int(titles.size()));
    int col = 0;
    for (int w : widths) grid->setColWidth(col++, w);
    grid->setTitles(titles);
    grid->setRowCount(2);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    grid->setFont(font);
    grid->setDefaultRowHeight(18);
    grid->setTitleColor(kTitleColor);
    grid->setShowGrid(false);
    grid->setItemDelegate(new RuledRowsDelegate(grid));
}

void clearLines(widgets::StringGrid* grid, const QStringList& titles) {
    grid->clearToBlankRow();
    grid->setTitles(titles);
}

bool isNewLine(const widgets::StringGrid* grid, int row) { return grid->cell(kLineMark, row) == newLineMark(); }

// Only a row that has a key can be deleted; a marked blank row is skipped.
bool isMarkedStoredLine(const widgets::StringGrid* grid, int row) {
    return grid->cell(kLineMark, row) == deleteLineMark() && !grid->cell(kLineKey, row).isEmpty();
}

// The last row when it has no key, otherwise a new row at the end.
int rowForNewLine(widgets::StringGrid* grid) {
    int last = grid->rowCount() - 1;
    if (!grid->cell(kLineKey, last).isEmpty()) {
        grid->setRowCount(last + 2);
        ++last;
    }
    for (int col = 0; col < grid->colCount(); ++col) grid->setCell(col, last, QString());
    grid->setCell(kLineKey, last, newLineMark());
    grid->setCell(kLineMark, last, newLineMark());
    return last;
}

void deleteLine(fb::Query& statement, const widgets::StringGrid* grid, int row) {
    statement.close();
    statement.setInteger(QStringLiteral("pk_id"), rtl::StrToInt(grid->cell(kLineKey, row)));
    DM->execCommit(statement);
}

// A stored line that stays after the save.
bool isKeptStoredLine(const widgets::StringGrid* grid, int row) {
    return !grid->cell(kLineKey, row).isEmpty() && !isNewLine(grid, row) &&
           grid->cell(kLineMark, row) != deleteLineMark();
}

}  // namespace

QString newLineMark() { return QStringLiteral("+"); }
QString deleteLineMark() { return QStringLiteral("-"); }
QString deletionNotice() { return QStringLiteral("Запись будет удалена после сохранения документа"); }

void setupWorkGrid(widgets::StringGrid* grid) { setupGrid(grid, workTitles(), {2, 2, 767, 102}); }
void setupSpareGrid(widgets::StringGrid* grid) { setupGrid(grid, spareTitles(), {2, 2, 568, 97, 97, 106}); }

void clearWorkLines(widgets::StringGrid* grid) { clearLines(grid, workTitles()); }
void clearSpareLines(widgets::StringGrid* grid) { clearLines(grid, spareTitles()); }

rtl::Money loadWorkLines(widgets::StringGrid* grid, const QString& key) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Works WHERE ct_fk = :ct_fk"));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    q.last();
    const int n = q.recordCount();
    q.first();
    grid->beginFill(n > 0 ? n + 1 : 2);
    grid->setTitles(workTitles());
    const fb::Field id = q.field(QStringLiteral("pk_id")), fk = q.field(QStringLiteral("ct_fk")),
                    name = q.field(QStringLiteral("name")), price = q.field(QStringLiteral("price"));
    rtl::Money total;
    for (int row = 1; !q.eof(); q.next(), ++row) {
        grid->setCell(kLineKey, row, QString::number(id.asInteger()));
        grid->setCell(kLineMark, row, QString::number(fk.asInteger()));
        grid->setCell(kLineName, row, name.asString());
        grid->setCell(kWorkPrice, row, rtl::FloatToStr(price.asFloat()));
        total += rtl::Money::fromDouble(price.asFloat());
    }
    grid->endFill();
    q.close();
    return total;
}

rtl::Money loadSpareLines(widgets::StringGrid* grid, const QString& key) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Spares WHERE ct_fk = :ct_fk"));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    q.last();
    const int n = q.recordCount();
    q.first();
    grid->beginFill(n > 0 ? n + 1 : 2);
    grid->setTitles(spareTitles());
    const fb::Field id = q.field(QStringLiteral("pk_id")), fk = q.field(QStringLiteral("ct_fk")),
                    name = q.field(QStringLiteral("name")), price = q.field(QStringLiteral("price")),
                    num = q.field(QStringLiteral("num"));
    rtl::Money total;
    for (int row = 1; !q.eof(); q.next(), ++row) {
        const rtl::Money sum = rtl::Money::times(price.asFloat(), num.asInteger());
        grid->setCell(kLineKey, row, QString::number(id.asInteger()));
        grid->setCell(kLineMark, row, QString::number(fk.asInteger()));
        grid->setCell(kLineName, row, name.asString());
        grid->setCell(kSpareQuantity, row, rtl::FloatToStr(num.asInteger()));
        grid->setCell(kSparePrice, row, rtl::FloatToStr(price.asFloat()));
        grid->setCell(kSpareSum, row, sum.toString());
        total += sum;
    }
    grid->endFill();
    q.close();
    return total;
}

void appendWorkLine(widgets::StringGrid* grid, const QString& name, const QString& price) {
    const int row = rowForNewLine(grid);
    grid->setCell(kLineName, row, name);
    grid->setCell(kWorkPrice, row, price);
    grid->scrollToBottom();
}

void appendSpareLine(widgets::StringGrid* grid, const QString& name, const QString& quantity,
                     const QString& price) {
    const int row = rowForNewLine(grid);
    grid->setCell(kLineName, row, name);
    grid->setCell(kSpareQuantity, row, quantity);
    grid->setCell(kSparePrice, row, price);
    grid->scrollToBottom();
}

bool markOrRemoveLine(widgets::StringGrid* grid, int row) {
    if (row < 1 || row >= grid->rowCount()) return false;
    if (grid->cell(kLineKey, row) == newLineMark() && grid->cell(kLineMark, row) == newLineMark()) {
        for (int col = 0; col < grid->colCount(); ++col) grid->setCell(col, row, QString());
        return false;
    }
    grid->setCell(kLineMark, row, deleteLineMark());
    grid->setCell(kLineName, row, deletionNotice());
    return true;
}

// The checks convert exactly what the save converts, in the same order, so
// that the save itself cannot stop half-way on a typed text.
rtl::Money checkWorkLines(const widgets::StringGrid* grid) {
    rtl::Money total;
    for (int row = 1; row < grid->rowCount(); ++row) {
        if (isNewLine(grid, row)) {
            fb::toCp1251(grid->cell(kLineName, row));
            total += rtl::Money::fromDouble(rtl::StrToPrice(grid->cell(kWorkPrice, row)));
        } else if (isMarkedStoredLine(grid, row)) {
            rtl::StrToInt(grid->cell(kLineKey, row));
        } else if (isKeptStoredLine(grid, row)) {
            total += rtl::Money::fromDouble(rtl::StrToFloat(grid->cell(kWorkPrice, row)));
        }
    }
    return total;
}

rtl::Money checkSpareLines(const widgets::StringGrid* grid) {
    rtl::Money total;
    for (int row = 1; row < grid->rowCount(); ++row) {
        if (isNewLine(grid, row)) {
            fb::toCp1251(grid->cell(kLineName, row));
            const int quantity = rtl::StrToInt(grid->cell(kSpareQuantity, row));
            total += rtl::Money::times(rtl::StrToPrice(grid->cell(kSparePrice, row)), quantity);
        } else if (isMarkedStoredLine(grid, row)) {
            rtl::StrToInt(grid->cell(kLineKey, row));
        } else if (isKeptStoredLine(grid, row)) {
            total += rtl::Money::times(rtl::StrToFloat(grid->cell(kSparePrice, row)),
                                       rtl::StrToInt(grid->cell(kSpareQuantity, row)));
        }
    }
    return total;
}

void saveWorkLines(const widgets::StringGrid* grid, int contractKey) {
    for (int row = 1; row < grid->rowCount(); ++row) {
        if (isNewLine(grid, row)) {
            fb::Query& q = DM->iWork2_Ins;
            q.close();
            q.setInteger(QStringLiteral("ct_fk"), contractKey);
            q.setString(QStringLiteral("name"), grid->cell(kLineName, row));
            q.setFloat(QStringLiteral("price"), rtl::StrToFloat(grid->cell(kWorkPrice, row)));
            DM->execCommit(q);
        }
        if (isMarkedStoredLine(grid, row)) deleteLine(DM->iWork2_Del, grid, row);
    }
}

void saveSpareLines(const widgets::StringGrid* grid, int contractKey) {
    for (int row = 1; row < grid->rowCount(); ++row) {
        if (isNewLine(grid, row)) {
            fb::Query& q = DM->iSP2_ins;
            q.close();
            q.setInteger(QStringLiteral("ct_fk"), contractKey);
            q.setString(QStringLiteral("name"), grid->cell(kLineName, row));
            q.setInteger(QStringLiteral("num"), rtl::StrToInt(grid->cell(kSpareQuantity, row)));
            q.setFloat(QStringLiteral("price"), rtl::StrToFloat(grid->cell(kSparePrice, row)));
            DM->execCommit(q);
        }
        if (isMarkedStoredLine(grid, row)) deleteLine(DM->iSP2_del, grid, row);
    }
}

}  // namespace contracts
