#include "rtl/Money.h"

#include "rtl/Convert.h"

#include <cmath>

namespace rtl {

// The product is taken in double precision, as a user would reckon it, then
// rounded to a whole count with ties to even (the default rounding mode).
Money Money::fromDouble(double v) { return fromUnits(static_cast<std::int64_t>(std::nearbyint(v * 10000.0))); }

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
