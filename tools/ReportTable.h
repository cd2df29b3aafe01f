#pragma once
// The rows of a report as torquil-db prints them: an aligned table for a
// terminal, or CSV for a spreadsheet (one header line, fields separated by
// semicolons, UTF-8). Values come as the program shows them; money already
// with a decimal comma and no thousands separator.
#include <QList>
#include <QString>
#include <QStringList>

namespace tools {

struct ReportTable {
    QStringList header;
    QList<bool> rightAligned;  // per column; missing: left
    QList<QStringList> rows;
    QList<QStringList> totals;  // printed under a rule in the aligned form, as rows in CSV
};

QString alignedText(const ReportTable& table);
QString csvText(const ReportTable& table);
// The whole output of a report command: `csv` picks the form.
QString reportText(const ReportTable& table, bool csv);

}  // namespace tools
