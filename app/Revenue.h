#pragma once
// The shop's months at a glance: for each of the twelve months up to a
// chosen one, the contracts (as the journal lists them), their labour and
// parts, and what was paid in the month (payments less refunds, on a
// database with payments); the works that brought in most over those months.
#include "rtl/Money.h"

#include <QDate>
#include <QString>
#include <vector>

namespace fb {
class Connection;
class Transaction;
}  // namespace fb

namespace app {

struct MonthFigures {
    QDate month;  // its first day
    int contracts = 0;
    rtl::Money labour, parts, paid;
    rtl::Money total() const { return labour + parts; }
    rtl::Money average() const;  // total / contracts, to the kopeck (ties to even); none: 0
};

struct WorkEarning {
    QString name;
    int lines = 0;
    rtl::Money amount;
};

struct Revenue {
    std::vector<MonthFigures> months;  // oldest first
    bool withPaid = false;             // the database has payments
    std::vector<WorkEarning> topWorks; // most first, at most ten
    QDate from() const { return months.empty() ? QDate() : months.front().month; }
    QDate to() const;                  // the last day of the last month
};

inline constexpr int kRevenueMonths = 12;

// The months up to and including the month of `last`.
Revenue revenue(fb::Connection& db, fb::Transaction& tr, const QDate& last, bool withPayments,
                int months = kRevenueMonths);

// The caption of a month: "дек 2026".
QString monthCaption(const QDate& month);

}  // namespace app
