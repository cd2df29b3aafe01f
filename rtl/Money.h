#pragma once
// Fixed-point amounts in ten-thousandths, as the totals of a contract are kept.
//
// Amounts stay within 99999999999,9999 either way. Prices are stored and
// typed as doubles; up to that limit every conversion the program makes
// (text to double, double times a quantity, double to ten-thousandths, and
// back to text with 15 significant digits) keeps the fourth decimal exact.
// An amount past it is refused with rtl::MoneyRangeError naming it; nothing
// wraps or loses a digit.
#include <QString>
#include <cstdint>

#include "rtl/Convert.h"

namespace rtl {

class Money {
public:
    static constexpr std::int64_t kMaxUnits = 999'999'999'999'999;  // 99999999999,9999

    constexpr Money() = default;
    static Money fromDouble(double v);  // rounded to 1/10000, ties to even; throws out of range
    static constexpr Money fromUnits(std::int64_t u) { Money m; m.units_ = u; return m; }
    static Money max() { return fromUnits(kMaxUnits); }

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

// The refusal of an amount out of range: "<What> «<shown>» вне допустимого
// диапазона: по модулю она не может превышать 99999999999,9999", where What
// is "Сумма", or "Стоимость" for a typed price.
class MoneyRangeError : public ConvertError {
public:
    explicit MoneyRangeError(const QString& shown, const QString& what = QStringLiteral("Сумма"));
    // The same refusal with the place it was met in front of it:
    // "<where>: сумма «…» вне допустимого диапазона…".
    MoneyRangeError at(const QString& where) const;

private:
    explicit MoneyRangeError(const QString& text, bool) : ConvertError(text) {}
};

// A typed price: converted as StrToFloat does, then refused when the
// fixed-point amounts cannot hold it.
double StrToPrice(const QString& s);

}  // namespace rtl
