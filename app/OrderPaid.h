#pragma once
// What the customer has paid for a contract: its payments less its refunds
// (a refund is a payment of method "ВОЗВРАТ" with a positive amount).
#include "rtl/Money.h"

#include <optional>

namespace app {

// Empty when the database keeps no payments (a database before that step).
std::optional<rtl::Money> paidForContract(int contractKey);

}  // namespace app
