#pragma once
// An .xlsx workbook opened for filling, done natively on the file: cells are
// set by A1 name (letter case does not matter), a range can be selected, the
// template's macros run as the layer's own code, and the result is saved in
// place (temporary file, then rename) or under another name. Every failure
// throws office::Error. Cell operations work on the active sheet.
#include "office/Error.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace office {

class Workbook {
public:
    explicit Workbook(const QString& path);
    ~Workbook();
    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;

    QString path() const;
    QString name() const;      // file name, "print.xlsx"
    QString sheetName() const; // the active sheet

    // Text goes in as an inline string, numbers as numbers; the cell keeps
    // its style (a new cell takes its row's or column's style).
    void setCell(const QString& cell, const QString& text);
    void setNumber(const QString& cell, double value);
    void clearCell(const QString& cell);

    void select(const QString& range);
    QString selection() const;

    // "CleanForm", "Lines", or "<book>!<macro>" naming this book ("print.xls"
    // names print.xlsx too). See Macros.cpp for what they do.
    void runMacro(const QString& macro);
    // True when `book` (as in "print.xls!CleanForm") names this workbook.
    bool isNamed(const QString& book) const;

    // Rows of the active sheet, moving formulas, merged areas and defined
    // names as a spreadsheet does; inserted rows copy the row at `before`.
    void insertRows(int before, int count);
    void deleteRows(int first, int count);
    // Makes the line section `section` (a defined name spanning its rows)
    // hold at least `lines` rows, inserting rows before its last row, and
    // returns the section's first row.
    int fitSection(const QString& section, int lines);

    void save();
    void saveAs(const QString& path); // the workbook then lives there
    void saveCopy(const QString& path); // the workbook stays where it is

    // Reading back (tests, checks).
    QString cellText(const QString& cell) const;
    std::optional<double> cellNumber(const QString& cell) const;
    QString cellFormula(const QString& cell) const;
    bool hasCachedValue(const QString& cell) const;
    int cellStyle(const QString& cell) const;
    bool cellHasBorder(const QString& cell) const;
    QString cellNumberFormat(const QString& cell) const;
    QStringList mergedRanges() const;
    QString definedName(const QString& name) const; // its formula text, "" if none
    bool fullCalcOnLoad() const;
    int lastRow() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    void cleanForm();
    void lines();
};

} // namespace office
