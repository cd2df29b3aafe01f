#pragma once
// The end of a printout: the filled workbook is let go and shown to the user
// (a fresh file, see office::Spreadsheet::release). When nothing could show
// it, the user is told where the file is: at once, or whenever the opener
// ends with an error, however late.
namespace office {
class Spreadsheet;
}

namespace app {

void ShowResult(office::Spreadsheet& xl);

}  // namespace app
