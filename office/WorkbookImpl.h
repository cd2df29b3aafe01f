#pragma once
// Workbook's insides, shared by Workbook.cpp and Macros.cpp.
#include "office/Package.h"
#include "office/Sheet.h"
#include "office/Workbook.h"

#include <memory>
#include <pugixml.hpp>
#include <vector>

namespace office {

struct Workbook::Impl {
    QString path;
    Package package;
    QString bookPart; // "xl/workbook.xml"
    pugi::xml_document book;
    pugi::xml_document styles;
    std::vector<QString> sharedStrings;
    std::vector<std::unique_ptr<Sheet>> sheets;
    std::vector<int> tabs; // each sheet's position among the workbook's sheets
    size_t active = 0;
    QString selection;

    Sheet& sheet() { return *sheets[active]; }
    const Sheet& sheet() const { return *sheets[active]; }
    Sheet* sheetNamed(const QString& name) const;

    // A defined name as areas of sheets; empty when the name is not there.
    struct Area {
        Sheet* sheet;
        RangeRef range;
    };
    pugi::xml_node definedName(const QString& name) const;
    std::vector<Area> areas(const QString& name) const;
    Area section(const QString& name) const; // one area of two rows or more

    void insertRows(Sheet& sheet, int before, int count);
    void deleteRows(Sheet& sheet, int first, int count);
    void shiftDefinedNames(const QString& sheet, RowShift shift);

    void write(const QString& target);
};

} // namespace office
