#pragma once
// One contract as its work order and its acceptance act print it: the
// header, the customer, the car, the lines with their totals (computed as
// the editor computes them), the customer's own parts and what was paid.
// What an older database does not keep is left empty.
#include "rtl/Money.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace app {

struct WorkOrder {
    int key = -1;
    QString number, date, accepted, deadline, doneDate;
    QString customer, phone, address;
    QString make, model, year, plate, region, vin, engine, body, color, km;
    QString mechanic, remark;
    QString carValue, extraRule, extraLimit, acceptNote;
    // name, price, sum
    std::vector<QStringList> works;
    // name, article number, maker, quantity, price, sum
    std::vector<QStringList> spares;
    // name, quantity, note
    std::vector<QStringList> own;
    QString worksTotal, sparesTotal, total;  // as the editor shows them
    std::optional<rtl::Money> paid;          // empty: the database keeps no payments
    std::optional<rtl::Money> due;
};

// The contract key of the contract numbered `number`; -1 when there is none.
int contractKeyByNumber(const QString& number);

// Reads contract `key`; throws rtl::ConvertError when there is no such contract.
WorkOrder readWorkOrder(int key);

// The customer's instruction on faults found during the work, in words.
QString extraRuleText(const WorkOrder& order);

}  // namespace app
