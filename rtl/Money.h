#pragma once
// Fixed-point amounts in ten-thousandths, as the totals of a contract are kept.
#include <QString>
#include <cstdint>

namespace rtl {

class Money {
public:
    constexpr Money() = default;
    static Money fromDouble(double v);  // rounded to 1/10000, ties to even
    static constexpr Money fromUnits(std::int64_t u) { Money m; m.units_ = u; return m; }

    std::int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / 10000.0; }
    QString toString() const;  // general number format: "350,75", "0"

    Money& operator+=(Money o) { units_ += o.units_; return *this; }
    friend Money operator+(Money a, Money b) { return a += b; }
    friend bool operator==(Money a, Money b) { return a.units_ == b.units_; }
    // price × quantity, the product rounded once to 1/10000 (ties to even)
    static Money times(double price, qint64 quantity);

private:
    std::int64_t units_ = 0;
};

}  // namespace rtl
