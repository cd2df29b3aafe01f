#pragma once
// The summary of the contracts of a period, written into the template
// svod.xlsx and shown: one row per contract from row 7 (number, date, car,
// owner, phone, amount), then "ИТОГО" and the grand total.
#include "rtl/Money.h"

#include <QDate>
#include <QString>

namespace reports {

struct SummaryPeriod {
    bool oneDay = false;  // the contracts of d1 (by equality); else d1..d2 inclusive
    QDate d1, d2;
    QString text;         // the period as the report's heading shows it
};

// Builds and shows the summary. Without a contract in the period nothing is
// started or written, and the result is false.
bool BuildSummary(const SummaryPeriod& period);

// The amount of one contract: its work prices plus quantity × price of its
// spare parts, in fixed point (uses iSQL2).
rtl::Money ContractAmount(const QString& key);

}  // namespace reports
