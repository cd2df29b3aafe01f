#pragma once
// torquil-db report debts DB [--csv]
// torquil-db report cash DB --from dd.mm.yyyy --to dd.mm.yyyy [--csv]
#include "tools/ReportTable.h"

#include <QDate>
#include <QStringList>

namespace fb {
class Connection;
class Transaction;
}  // namespace fb

namespace tools {

ReportTable debtsTable(fb::Connection& db, fb::Transaction& tr);
ReportTable cashTable(fb::Connection& db, fb::Transaction& tr, const QDate& from, const QDate& to);

// `args` after "report": runs "debts" or "cash" and returns the exit status,
// or -1 when the report is not one of these.
int paymentReportCommand(const QStringList& args);

}  // namespace tools
