#pragma once
// The shipped forms: Forms/print.xlsx (the contract card) and Forms/svod.xlsx
// (the summary), generated at build time by torquil-templates. The names and
// cells below are shared by the generator, the layer and the routines that
// fill the forms. This header is constants only, apart from the functions
// at the end of each block (torquil_core).
#include <QString>

namespace office {

class Workbook;

// Defined names through which a template drives the layer's macros.
namespace names {
// Ranges that CleanForm clears; a long list goes on in "CleanCells2",
// "CleanCells3"... (the generator's library keeps a name to 128 bytes).
inline constexpr char CleanCells[] = "CleanCells";
inline constexpr char LineStyle[] = "LineStyle";   // sample cells whose styles Lines applies
// "<section>_Rows" holds the number of rows the line section <section> has
// in the template: CleanForm brings a grown section back to it.
inline constexpr char RowsSuffix[] = "_Rows";
} // namespace names

// The folder "Forms" in the program folder (rtl::programFolder()), and a
// file in it.
QString formsDir();
QString formPath(const QString& file);

// The shop's header as the forms are shipped: blanks the program fills
// with the shop's details (a header the shop typed in is kept).
inline constexpr char ShopBlank[] = "Автосервис «________________»";
inline constexpr char ShopInfoBlank[] = "Адрес: ______________________________   Тел.: ________________";

// The contract card. Header cells are written as text.
namespace card {
inline constexpr char File[] = "print.xlsx";
inline constexpr char SheetName[] = "Карточка";
inline constexpr char CleanForm[] = "print.xls!CleanForm";

inline constexpr char ShopName[] = "A1";  // ShopBlank
inline constexpr char ShopInfo[] = "A2";  // ShopInfoBlank
inline constexpr char Number[] = "Q1";
inline constexpr char Date[] = "Q2";
inline constexpr char Car[] = "E4";      // make + " " + model
inline constexpr char Plate[] = "E5";    // registration number + " " + region
inline constexpr char Year[] = "E6";
inline constexpr char Vin[] = "E7";
inline constexpr char Color[] = "E8";
inline constexpr char Engine[] = "E9";   // engine + " " + its specification
inline constexpr char Body[] = "E10";    // body + " " + its specification
inline constexpr char Mileage[] = "E11";
inline constexpr char Owner[] = "O4";
inline constexpr char Phone[] = "O5";
inline constexpr char Mechanic[] = "O9";
inline constexpr char Remark[] = "A43";  // moves down when line sections grow

// Line cells are a column letter followed by the row. Names are text;
// quantities and prices are numbers (setNumber / Range.Value = double), so
// that the template's formulas can add them up.
//   work line:  b = name, r = price
//   spare line: b = name, n = quantity, p = price; r = n × p (formula)
inline constexpr char WorkName[] = "b";
inline constexpr char WorkPrice[] = "r";
inline constexpr char SpareName[] = "b";
inline constexpr char SpareQuantity[] = "n";
inline constexpr char SparePrice[] = "p";
inline constexpr char SpareSum[] = "r";

// The template's line sections: rows 14..26 for works, 27..38 for spare
// parts. A section grows when a contract has more lines (rows are inserted
// before its last row; everything below moves down, the totals' formulas
// widen); the next CleanForm brings it back to its template size.
inline constexpr int WorkFirstRow = 14;
inline constexpr int WorkRows = 13;
inline constexpr int SpareFirstRow = 27;
inline constexpr int SpareRows = 12;
inline constexpr char WorkSection[] = "WorkLines";
inline constexpr char SpareSection[] = "SpareLines";
// Totals computed by the template (before any growth): works, spare parts,
// grand total, in column r.
inline constexpr int WorksTotalRow = 39;
inline constexpr int SparesTotalRow = 40;
inline constexpr int GrandTotalRow = 41;

// Room for `count` lines; each returns the section's first row. Call
// fitWorkLines before writing the work lines and fitSpareLines before
// writing the spare lines: the spare section starts at 27 unless the work
// section grew.
int fitWorkLines(Workbook& book, int count);
int fitSpareLines(Workbook& book, int count);
} // namespace card

// The summary.
namespace summary {
inline constexpr char File[] = "svod.xlsx";
inline constexpr char SheetName[] = "Свод";
inline constexpr char CleanForm[] = "svod.xls!CleanForm";
inline constexpr char Lines[] = "svod.xls!Lines";

inline constexpr char ShopName[] = "A1";  // ShopBlank
inline constexpr char Period[] = "A4";
inline constexpr int SampleRow = 5; // hidden row: the line style for Lines
inline constexpr int HeaderRow = 6;
inline constexpr int FirstRow = 7;  // A number, B date, C car, D owner, E phone, F amount
inline constexpr char TotalLabel[] = "ИТОГО";
} // namespace summary

} // namespace office
