#pragma once
// What each mechanic brought in over a period and what he is owed: one row
// per name on the contracts of the period (contracts, labour, parts, share,
// pay = labour × share), and the totals. A contract carries its mechanic's
// name as text, so a renamed or removed mechanic keeps his row under that
// name, without a share. Contracts are those the journal lists (joined with
// their car). The same rows serve the window, its printout and torquil-db.
#include "rtl/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace fb {
class Connection;
class Transaction;
}  // namespace fb

namespace app {

struct MechanicPayRow {
    QString name;
    int contracts = 0;
    rtl::Money labour, parts;
    std::optional<int> rate;  // hundredths of a percent; none: no share
    rtl::Money pay;
};

struct MechanicPay {
    std::vector<MechanicPayRow> rows;  // in name order
    MechanicPayRow totals;             // name "ИТОГО", no share
};

// A period whose end is before its start is refused (rtl::ConvertError).
void requirePeriod(const QDate& from, const QDate& to);

// `withRates`: the database has meh.rate (else nobody has a share).
MechanicPay mechanicPay(fb::Connection& db, fb::Transaction& tr, const QDate& from, const QDate& to, bool withRates);

// The columns and the texts of a row as the window, the printout and
// torquil-db show them.
QStringList mechanicPayHeader();
QStringList mechanicPayTexts(const MechanicPayRow& row);
inline constexpr int kMechanicPayTextColumns = 6;  // name first, the rest are figures

// One contract of a mechanic in the period.
struct MechanicContract {
    QString key;
    QString number;
    QDate date;
    QString car;    // make and model
    QString owner;
    rtl::Money labour, parts;
};

std::vector<MechanicContract> mechanicContracts(fb::Connection& db, fb::Transaction& tr, const QString& name,
                                                const QDate& from, const QDate& to);

}  // namespace app
