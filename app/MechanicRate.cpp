#include "app/MechanicRate.h"

#include "rtl/Convert.h"

#include <QRegularExpression>

namespace app {

std::optional<int> parseRate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3})(?:[.,](\\d{1,2}))?$"));
    const QRegularExpressionMatch m = form.match(t);
    const auto refuse = [&t] {
        return rtl::ConvertError(QStringLiteral("%1: «%2» — нужно число от 0 до 100, не больше двух знаков после запятой")
                                     .arg(QString::fromUtf8(kRateCaption), t));
    };
    if (!m.hasMatch()) throw refuse();
    QString decimals = m.captured(2);
    while (decimals.size() < 2) decimals += u'0';
    const int hundredths = m.captured(1).toInt() * 100 + decimals.toInt();
    if (hundredths > 10000) throw refuse();
    return hundredths;
}

QString rateText(std::optional<int> hundredths) {
    if (!hundredths) return {};
    QString s = QString::number(*hundredths / 100);
    const int rest = *hundredths % 100;
    if (rest == 0) return s;
    QString d = QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
    if (d.endsWith(u'0')) d.chop(1);
    return s + u',' + d;
}

QString rateParam(int hundredths) {
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

}  // namespace app
