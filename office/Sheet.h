#pragma once
// One worksheet part of a workbook: its cells in row order, inserting and
// deleting rows the way a spreadsheet does, and the reading back of values.
// Used by Workbook; not part of the layer's public face.
#include "office/CellRef.h"
#include "office/Formula.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <pugixml.hpp>
#include <vector>

namespace office {

class Sheet {
public:
    Sheet(const QString& name, const QString& part, const QByteArray& xml);

    const QString& name() const { return name_; }
    const QString& part() const { return part_; }

    // Writing. A new cell is placed in row and column order and takes the
    // style of its row or column; an existing cell keeps its style.
    void setText(CellRef at, const QString& text);
    void setNumber(CellRef at, double value);
    void clear(CellRef at);              // value and formula go, style stays
    void clear(const RangeRef& range);   // existing cells only
    void setStyle(CellRef at, int style);

    // Rows. Inserted rows (before `before`) copy the style, height, merges
    // and formulas of the row that was at `before`.
    void insertRows(int before, int count);
    void deleteRows(int first, int count);
    // References of this sheet's formulas to another sheet whose rows moved.
    void shiftReferencesTo(const QString& sheet, RowShift shift);

    // Saving: no stale results (the application recalculates), and a
    // dimension that covers every cell.
    void dropCachedValues();
    QByteArray serialize();

    // Reading back.
    QString text(CellRef at, const std::vector<QString>& sharedStrings) const;
    bool number(CellRef at, double& value) const;
    QString formula(CellRef at) const;
    bool hasCachedValue(CellRef at) const;
    bool exists(CellRef at) const { return bool(findCell(at)); }
    int style(CellRef at) const;
    QStringList mergedRanges() const;
    int lastRow() const;

private:
    pugi::xml_node findRow(int row) const;
    pugi::xml_node findCell(CellRef at) const;
    pugi::xml_node row(int row);
    pugi::xml_node cell(CellRef at);
    int defaultStyle(int row, int col) const;
    void reindex();
    void normalize();
    void shiftRows(RowShift shift);
    void shiftAreas(RowShift shift);
    void forEachFormula(const std::function<void(pugi::xml_node, CellRef)>& fn);

    QString name_;
    QString part_;
    pugi::xml_document doc_;
    pugi::xml_node sheet_;
    pugi::xml_node data_;
    std::map<int, pugi::xml_node> rows_;
};

} // namespace office
