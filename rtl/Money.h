#pragma once
// Fixed-point amounts in ten-thousandths, as the totals of a contract are kept.
// An amount that the 64-bit count cannot hold (beyond 922337203685477,5807
// either way) is refused with rtl::ConvertError naming it; nothing wraps.
#include <QString>
#include <cstdint>

#include "rtl/Convert.h"

namespace rtl {

class Money {
public:
    constexpr Money() = default;
    static Money fromDouble(double v);  // rounded to 1/10000, ties to even; throws out of range
    static constexpr Money fromUnits(std::int64_t u) { Money m; m.units_ = u; return m; }

    static bool fits(double v);  // whether fromDouble holds it (NaN does not)

    std::int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / 10000.0; }
    QString toString() const;  // general number format: "350,75", "0"

    Money& operator+=(Money o);  // throws when the sum is out of range
    friend Money operator+(Money a, Money b) { return a += b; }
    friend bool operator==(Money a, Money b) { return a.units_ == b.units_; }
    // price × quantity, the product rounded once to 1/10000 (ties to even)
    static Money times(double price, qint64 quantity);

private:
    std::int64_t units_ = 0;
};

// A typed price: converted as StrToFloat does, then refused when the
// fixed-point amounts cannot hold it.
double StrToPrice(const QString& s);
// The text of the refusal of an amount out of range.
QString moneyRangeText(const QString& shown);

}  // namespace rtl
