#pragma once
// The schema steps the owner's reports read: the mechanics' shares and the
// payments. On a database without a step its part is off and the rest works.
#include "app/SchemaUpgrade.h"

namespace app {

inline constexpr int kMechanicRateStep = 4;  // meh.rate
inline constexpr int kPaymentsStep = 2;      // Payments

inline bool hasMechanicRates() { return hasSchema(kMechanicRateStep); }
inline bool hasPayments() { return hasSchema(kPaymentsStep); }

}  // namespace app
