#include "rtl/Money.h"

#include "rtl/Convert.h"

#include <cmath>

namespace rtl {

// The product is taken in double precision, as a user would reckon it, then
// rounded to a whole count with ties to even (the default rounding mode).
bool Money::fits(double v) {
    // 2^63 itself does not fit; every double below it converts exactly.
    return std::fabs(std::nearbyint(v * 10000.0)) < 9223372036854775808.0;
}

Money Money::fromDouble(double v) {
    if (!fits(v)) throw ConvertError(moneyRangeText(FloatToStr(v)));
    return fromUnits(static_cast<std::int64_t>(std::nearbyint(v * 10000.0)));
}

Money& Money::operator+=(Money o) {
    std::int64_t sum;
    if (__builtin_add_overflow(units_, o.units_, &sum))
        throw ConvertError(moneyRangeText(FloatToStr(toDouble() + o.toDouble())));
    units_ = sum;
    return *this;
}

QString moneyRangeText(const QString& shown) {
    return QStringLiteral("Сумма «%1» вне допустимого диапазона: по модулю она не может превышать "
                          "922337203685477,5807").arg(shown);
}

double StrToPrice(const QString& s) {
    const double v = StrToFloat(s);
    if (!Money::fits(v)) throw ConvertError(moneyRangeText(s));
    return v;
}

Money Money::times(double price, qint64 quantity) {
    return fromDouble(price * static_cast<double>(quantity));
}

QString Money::toString() const {
    // Exact decimal text of the fixed-point value, trailing zeros dropped.
    const bool neg = units_ < 0;
    const std::uint64_t a = neg ? std::uint64_t(-(units_ + 1)) + 1 : std::uint64_t(units_);
    QString s = QString::number(a / 10000);
    std::uint64_t frac = a % 10000;
    if (frac) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (f.endsWith(u'0')) f.chop(1);
        s += u',' + f;
    }
    return neg ? u'-' + s : s;
}

}  // namespace rtl
