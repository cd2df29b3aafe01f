#include "rtl/Money.h"

#include "rtl/Convert.h"

#include <cmath>

namespace rtl {

// The product is taken in double precision, as a user would reckon it, then
// rounded to a whole count with ties to even (the default rounding mode).
bool Money::fits(double v) {
    // NaN and infinities compare false.
    return std::fabs(std::nearbyint(v * 10000.0)) <= double(kMaxUnits);
}

Money Money::fromDouble(double v) {
    if (!fits(v)) throw MoneyRangeError(FloatToStr(v));
    return fromUnits(static_cast<std::int64_t>(std::nearbyint(v * 10000.0)));
}

Money& Money::operator+=(Money o) {
    // Both within the limit: the sum cannot overflow 64 bits.
    const Money sum = fromUnits(units_ + o.units_);
    if (sum.units_ > kMaxUnits || sum.units_ < -kMaxUnits) throw MoneyRangeError(sum.toString());
    units_ = sum.units_;
    return *this;
}

MoneyRangeError::MoneyRangeError(const QString& shown, const QString& what)
    : ConvertError(QStringLiteral("%1 «%2» вне допустимого диапазона: по модулю она не может превышать %3")
                       .arg(what, shown, Money::max().toString())) {}

MoneyRangeError MoneyRangeError::at(const QString& where) const {
    QString own = text();
    own[0] = own[0].toLower();
    return MoneyRangeError(where + QStringLiteral(": ") + own, true);
}

double StrToPrice(const QString& s) {
    const double v = StrToFloat(s);
    if (!Money::fits(v)) throw MoneyRangeError(s, QStringLiteral("Стоимость"));
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
