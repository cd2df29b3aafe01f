#pragma once
// The schema steps the owner's reports read: the mechanics' shares, the
// payments and each contract's sums kept by the database. On a database
// without a step its part is off (or read the slower way) and the rest works.
#include "app/SchemaUpgrade.h"

namespace app {

inline constexpr int kMechanicRateStep = 4;  // meh.rate
inline constexpr int kPaymentsStep = 2;      // Payments
inline constexpr int kContractSumsStep = 6;  // Contracts works_sum, spares_sum, paid_sum, filled

inline bool hasMechanicRates() { return hasSchema(kMechanicRateStep); }
inline bool hasPayments() { return hasSchema(kPaymentsStep); }
inline bool hasContractSums() { return hasSchema(kContractSumsStep); }

}  // namespace app
