#pragma once
// The spreadsheet "application" as an automation client sees it (open a
// workbook, run a macro, set a cell by name, show, save), kept thin over
// Workbook:
//   office::Spreadsheet xl;                        // create the application
//   xl.workbooksOpen(path);                        // Workbooks.Open(path)
//   xl.run("print.xls!CleanForm");                 // Run(macro)
//   xl.setVisible(true);                           // Visible = true
//   xl.range("Q1").setValue(text);                 // Range(name).Value = ...
//   xl.range("A7:F9").select();                    // Range(name).Select
//   xl.activeWorkbook().save();                    // ActiveWorkbook.Save
//   bool shown = xl.release();                     // let the object go
// Being visible means the user gets the result: release() writes the active
// workbook as it is now to a fresh file in outputDir() (so it opens fresh
// even while an earlier result is still open) and hands that file to the
// viewer. The template's own copy is changed only by save().
#include "office/Viewer.h"
#include "office/Workbook.h"

#include <QString>
#include <memory>
#include <vector>

namespace office {

class Spreadsheet;

class Range {
public:
    void setValue(const QString& text);
    void setValue(double number);
    void select();

private:
    friend class Spreadsheet;
    Range(Workbook& book, const QString& name) : book_(book), name_(name) {}
    Workbook& book_;
    QString name_;
};

class Spreadsheet {
public:
    Spreadsheet();
    ~Spreadsheet();
    Spreadsheet(const Spreadsheet&) = delete;
    Spreadsheet& operator=(const Spreadsheet&) = delete;

    Workbook& workbooksOpen(const QString& path); // becomes the active workbook
    Workbook& activeWorkbook();                   // throws when none is open
    void run(const QString& macro);               // "<book>!<macro>" or "<macro>"
    void setVisible(bool visible);
    bool isVisible() const;
    Range range(const QString& name);

    // Output file name stem (default: the active workbook's base name).
    void setOutputStem(const QString& stem);
    // When visible, writes and shows the result (see above); false when the
    // viewer could not show it, `failedLater` when that is known only later
    // (see Viewer). Nothing is written when not visible.
    bool release(const LateFailure& failedLater = {});
    QString outputPath() const; // the file release() wrote

private:
    std::vector<std::unique_ptr<Workbook>> books_;
    bool visible_ = false;
    bool released_ = false;
    QString stem_;
    QString output_;
};

} // namespace office
