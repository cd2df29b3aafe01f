#pragma once
// The labour and parts of contracts, summed in fixed point per group the
// engine makes: the lines are read grouped by a key of their contract (a
// mechanic's name, a contract, a month) and by their price (and quantity),
// each group's amount converted once and counted. The sums equal adding
// every line's amount in turn.
#include "rtl/Money.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>

namespace fb {
class Connection;
class Transaction;
}  // namespace fb

namespace app {

struct LineSums {
    rtl::Money labour, parts;
    int contracts = 0;  // counted by keptSums only
};

enum class LineKinds { Both, SparesOnly };

// `key`: an expression over Contracts ct (and Cars cr) naming the group;
// `where`: the condition on ct and cr, which may use :d1 and :d2 (the
// period, both set) and :meh (set when `mechanic` is given).
QHash<QString, LineSums> lineSums(fb::Connection& db, fb::Transaction& tr, const QString& key, const QString& where,
                                  const QDate& from, const QDate& to, const QString* mechanic = nullptr,
                                  LineKinds kinds = LineKinds::Both);

// The same sums from the ones the database keeps with each contract, one
// row per contract read; nothing when the database keeps none or a contract
// of the period has a line past the money limit (only its lines tell then).
// lineSums uses them where it can.
std::optional<QHash<QString, LineSums>> keptSums(fb::Connection& db, fb::Transaction& tr, const QString& key,
                                                 const QString& where, const QDate& from, const QDate& to,
                                                 const QString* mechanic = nullptr);

}  // namespace app
