#pragma once
// torquil-db report NAME DATABASE [options] [--csv]: one of the shop's
// reports printed as an aligned table, or as CSV for a spreadsheet.
#include <QStringList>

class QTextStream;

namespace tools {

// `args` follow the word "report". Returns the exit status: 0 printed, 1
// the database could not give it, 2 the command line was not understood
// (the usage goes to `err`).
int reportCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// The usage lines of every report, for torquil-db's usage.
QString reportUsage();

}  // namespace tools
