#include "app/ContractLines.h"

#include "app/DM.h"
#include "app/SpareArticles.h"
#include "fb/Cp1251.h"
#include "rtl/Convert.h"
#include "widgets/StringGrid.h"

#include <QFont>
#include <QPainter>
#include <QStyledItemDelegate>

#include <vector>

namespace contracts {

struct LineKind {
    std::vector<const char*> titles;  // key, contract key, name, ...
    const char* line;    // one line in a message: "Работа", "Запчасть"
    const char* total;   // the total of the grid in a message
    std::vector<int> widths;
    int quantityCol;  // none (-1): a work line, of quantity 1
    int priceCol;
    int sumCol;       // none (-1): the price is the sum
    const char* select;  // the lines of one contract, by :ct_fk
    fb::Query TDM::*insert;
    fb::Query TDM::*remove;
    int artCol;    // none (-1): no article and maker (works)
    int makerCol;
    fb::Query TDM::*insertArt;  // the insert with the article and maker

    bool counted() const { return quantityCol >= 0; }
};

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

QStringList titles(const LineKind& kind) {
    QStringList list;
    for (const char* t : kind.titles) list << QString::fromUtf8(t);
    return list;
}

// The sum of a line, price times quantity (1 for a work line), converted
// as the save converts them: the quantity first, then the price; the price
// of a new line goes through the typed-price check.
rtl::Money lineSum(const widgets::StringGrid* grid, const LineKind& kind, int row, bool newLine) {
    const int quantity = kind.counted() ? rtl::StrToInt(grid->cell(kind.quantityCol, row)) : 1;
    const QString price = grid->cell(kind.priceCol, row);
    return rtl::Money::times(newLine ? rtl::StrToPrice(price) : rtl::StrToFloat(price), quantity);
}

}  // namespace

QString newLineMark() { return QStringLiteral("+"); }
QString deleteLineMark() { return QStringLiteral("-"); }
QString deletionNotice() { return QStringLiteral("Запись будет удалена после сохранения документа"); }

const LineKind kWorkLines{
    {"id", "fk", "Наименование работ", "Стоимость"},
    "Работа",
    "Итог работ",
    {2, 2, 767, 102},
    -1,
    kWorkPrice,
    -1,
    "SELECT * FROM CT_Works WHERE ct_fk = :ct_fk",
    &TDM::iWork2_Ins,
    &TDM::iWork2_Del,
    -1,
    -1,
    nullptr,
};

const LineKind kSpareLines{
    {"id", "fk", "Наименование запчасти", "Количество", "Стоимость", "Сумма", "Артикул", "Производитель"},
    "Запчасть",
    "Итог запчастей",
    {2, 2, 568, 97, 97, 106, 2, 2},
    kSpareQuantity,
    kSparePrice,
    kSpareSum,
    "SELECT * FROM CT_Spares WHERE ct_fk = :ct_fk",
    &TDM::iSP2_ins,
    &TDM::iSP2_del,
    kSpareArt,
    kSpareMaker,
    &TDM::iSP2_insArt,
};

void setupLineGrid(widgets::StringGrid* grid, const LineKind& kind) {
    grid->setColCount(int(kind.titles.size()));
    int col = 0;
    for (int w : kind.widths) grid->setColWidth(col++, w);
    grid->setTitles(titles(kind));
    grid->setRowCount(2);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    grid->setFont(font);
    grid->setDefaultRowHeight(18);
    grid->setTitleColor(kTitleColor);
    grid->setShowGrid(false);
    grid->setItemDelegate(new RuledRowsDelegate(grid));
}

void clearLines(widgets::StringGrid* grid, const LineKind& kind) {
    grid->clearToBlankRow();
    grid->setTitles(titles(kind));
}

QString loadLines(widgets::StringGrid* grid, const LineKind& kind, const QString& key) {
    return showLines(grid, kind, readLines(kind, key));
}

fb::RowSet readLines(const LineKind& kind, const QString& key) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QString::fromLatin1(kind.select));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    return q.takeRows();
}

QString showLines(widgets::StringGrid* grid, const LineKind& kind, const fb::RowSet& lines) {
    const int n = lines.rowCount();
    grid->beginFill(n > 0 ? n + 1 : 2);
    grid->setTitles(titles(kind));
    const int id = lines.indexOf(QStringLiteral("pk_id")), fk = lines.indexOf(QStringLiteral("ct_fk")),
              name = lines.indexOf(QStringLiteral("name")), price = lines.indexOf(QStringLiteral("price"));
    const bool counted = kind.counted();
    const int num = counted ? lines.indexOf(QStringLiteral("num")) : -1;
    // -1 on a database without the columns
    const int art = kind.artCol >= 0 ? lines.indexOf(QStringLiteral("art")) : -1,
              maker = kind.artCol >= 0 ? lines.indexOf(QStringLiteral("maker")) : -1;
    rtl::Money total;
    double roughTotal = 0;
    bool exact = true;
    for (int r = 0; r < n; ++r) {
        const int row = r + 1;
        const int quantity = counted ? int(lines.integer(r, num)) : 1;
        const double unitPrice = lines.number(r, price);
        const double product = unitPrice * quantity;
        roughTotal += product;
        QString sum = rtl::FloatToStr(product);
        if (rtl::Money::fits(product)) {
            const rtl::Money exactSum = rtl::Money::fromDouble(product);
            sum = exactSum.toString();
            try {
                if (exact) total += exactSum;
            } catch (const rtl::MoneyRangeError&) {
                exact = false;
            }
        } else {
            exact = false;
        }
        grid->setCell(kLineKey, row, QString::number(int(lines.integer(r, id))));
        grid->setCell(kLineMark, row, QString::number(int(lines.integer(r, fk))));
        grid->setCell(kLineName, row, lines.text(r, name));
        if (counted) grid->setCell(kind.quantityCol, row, rtl::FloatToStr(quantity));
        grid->setCell(kind.priceCol, row, rtl::FloatToStr(unitPrice));
        if (kind.sumCol >= 0) grid->setCell(kind.sumCol, row, sum);
        if (art >= 0) grid->setCell(kind.artCol, row, lines.text(r, art));
        if (maker >= 0) grid->setCell(kind.makerCol, row, lines.text(r, maker));
    }
    grid->endFill();
    return exact ? total.toString() : rtl::FloatToStr(roughTotal);
}

void appendLine(widgets::StringGrid* grid, const LineKind& kind, const QString& name, const QString& quantity,
                const QString& price, const QString& art, const QString& maker) {
    const int row = rowForNewLine(grid);
    grid->setCell(kLineName, row, name);
    if (kind.counted()) grid->setCell(kind.quantityCol, row, quantity);
    grid->setCell(kind.priceCol, row, price);
    if (kind.artCol >= 0) {
        grid->setCell(kind.artCol, row, art);
        grid->setCell(kind.makerCol, row, maker);
    }
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
rtl::Money checkLines(const widgets::StringGrid* grid, const LineKind& kind) {
    rtl::Money total;
    for (int row = 1; row < grid->rowCount(); ++row) {
        rtl::Money sum;
        try {
            if (isNewLine(grid, row)) {
                fb::toCp1251(grid->cell(kLineName, row));
                if (kind.artCol >= 0) {
                    fb::toCp1251(grid->cell(kind.artCol, row));
                    fb::toCp1251(grid->cell(kind.makerCol, row));
                }
                sum = lineSum(grid, kind, row, true);
            } else if (isMarkedStoredLine(grid, row)) {
                rtl::StrToInt(grid->cell(kLineKey, row));
            } else if (isKeptStoredLine(grid, row)) {
                sum = lineSum(grid, kind, row, false);
            }
        } catch (const rtl::MoneyRangeError& e) {
            throw e.at(QStringLiteral("%1 в строке %2 («%3»)")
                           .arg(QString::fromUtf8(kind.line), QString::number(row), grid->cell(kLineName, row)));
        }
        try {
            total += sum;
        } catch (const rtl::MoneyRangeError& e) {
            throw e.at(QString::fromUtf8(kind.total));
        }
    }
    return total;
}

void saveLines(const widgets::StringGrid* grid, const LineKind& kind, int contractKey) {
    const bool articles = kind.insertArt && app::hasSpareArticles();
    for (int row = 1; row < grid->rowCount(); ++row) {
        if (isNewLine(grid, row)) {
            fb::Query& q = DM->*(articles ? kind.insertArt : kind.insert);
            q.close();
            if (articles) app::bindArticle(q, grid->cell(kind.artCol, row), grid->cell(kind.makerCol, row));
            q.setInteger(QStringLiteral("ct_fk"), contractKey);
            q.setString(QStringLiteral("name"), grid->cell(kLineName, row));
            if (kind.counted())
                q.setInteger(QStringLiteral("num"), rtl::StrToInt(grid->cell(kind.quantityCol, row)));
            q.setFloat(QStringLiteral("price"), rtl::StrToFloat(grid->cell(kind.priceCol, row)));
            DM->execCommit(q);
        }
        if (isMarkedStoredLine(grid, row)) deleteLine(DM->*kind.remove, grid, row);
    }
}

}  // namespace contracts
