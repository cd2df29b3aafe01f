#pragma once
// The money reports over many contracts: paid and total per contract for the
// journal, the debtors, the cash of a period. The windows and torquil-db
// read the same rows from here.
#include "rtl/Money.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <map>
#include <vector>

namespace fb {
class Connection;
class Transaction;
}  // namespace fb

namespace app {

struct ContractMoney {
    rtl::Money total, paid;
    bool known = true;  // false: a line past the money limit, no total
    rtl::Money due() const;
};
// Every contract dated d1..d2 by key, in one statement over its lines and
// payments (a database without the kept sums).
QHash<int, ContractMoney> contractMoney(fb::Connection& db, fb::Transaction& tr, const QDate& d1, const QDate& d2);

// Whether the database keeps each contract's labour, parts and paid sums
// in its row (works_sum, spares_sum, paid_sum, filled for every contract).
// The lists then read those instead of summing lines and payments.
bool contractSumsKept();

struct DebtContract {
    int id = 0;
    QString num;
    QDate date;
    rtl::Money due;
};
struct Debtor {
    QString owner, phone;
    rtl::Money due;
    QDate oldest;  // the oldest contract with something due
    std::vector<DebtContract> contracts;  // oldest first
};
// Every contract with something due, grouped by customer (owner and phone),
// the largest sum first.
std::vector<Debtor> debtors(fb::Connection& db, fb::Transaction& tr);
rtl::Money debtTotal(const std::vector<Debtor>& list);

struct CashRow {
    QDate date;
    QString method;
    rtl::Money amount;  // a refund negative
    QString num;        // the contract's number
    QString owner;
    QString note;
};
struct Cash {
    std::vector<CashRow> rows;           // by date, then as written
    std::map<QString, rtl::Money> byMethod;  // refunds under their own method, negative
    rtl::Money total;                    // refunds subtracted
};
Cash cash(fb::Connection& db, fb::Transaction& tr, const QDate& from, const QDate& to);

// Money as the reports show it: kopecks always ("1500,00"); an amount with
// finer parts (a line price of 1/10000) in full.
QString moneyText(rtl::Money m);

}  // namespace app
