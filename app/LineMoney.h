#pragma once
// Sums of contract lines in fixed point, from rows grouped by the engine:
// a line's amount is converted once (price, or quantity × price), then
// counted as many times as the group holds it, so the sum equals adding
// every line in turn; and a share in hundredths of a percent.
#include "rtl/Money.h"

#include <QString>

namespace app {

// `amount` taken `count` times; past the range, rtl::MoneyRangeError.
inline rtl::Money repeated(rtl::Money amount, qint64 count) {
    __int128 u = static_cast<__int128>(amount.units()) * count;
    if (u > rtl::Money::kMaxUnits || u < -rtl::Money::kMaxUnits)
        throw rtl::MoneyRangeError(QString::number(static_cast<double>(u) / 10000.0, 'f', 4));
    return rtl::Money::fromUnits(static_cast<std::int64_t>(u));
}

// `rateHundredths` (1250 is 12,50 %) of `amount`, rounded to 1/10000, ties to even.
inline rtl::Money shareOf(rtl::Money amount, qint64 rateHundredths) {
    const __int128 n = static_cast<__int128>(amount.units()) * rateHundredths;
    const __int128 d = 10000;
    __int128 q = n / d, r = n % d;
    if (r < 0) r = -r;
    const bool negative = n < 0;
    if (2 * r > d || (2 * r == d && (q % 2) != 0)) q += negative ? -1 : 1;
    return rtl::Money::fromUnits(static_cast<std::int64_t>(q));
}

}  // namespace app
