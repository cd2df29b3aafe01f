#pragma once
// The summary of a period laid out by the program itself (the printing
// module, no spreadsheet): the rows of the spreadsheet summary, with what was
// paid and what is due where the database keeps payments per contract.
#include "print/Document.h"
#include "reports/SummaryBuild.h"

class QWidget;

namespace reports {

// An empty table (and a zero total) for a period without contracts.
print::Document SummaryDocument(const SummaryPeriod& period);

// Shows it in the print preview; false, with a message, when the period has
// no contract.
bool PrintSummary(const SummaryPeriod& period, QWidget* parent);

}  // namespace reports
