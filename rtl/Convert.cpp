#include "rtl/Convert.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace rtl {

ConvertError::ConvertError(const QString& text)
    : std::runtime_error(text.toStdString()), text_(text) {}

namespace {

ConvertError invalid(const QString& s, const char* what) {
    return ConvertError(QStringLiteral("'%1' is not a valid %2").arg(s, QLatin1String(what)));
}

// Leading and trailing blanks are tolerated: " 12 " is 12.
bool parseInt64(const QString& raw, qint64& out) {
    const QString s = raw.trimmed();
    if (s.isEmpty()) return false;
    int i = 0;
    bool neg = false;
    if (s[0] == u'+' || s[0] == u'-') {
        neg = s[0] == u'-';
        i = 1;
    }
    if (i >= s.size()) return false;
    quint64 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9') return false;
        v = v * 10 + (c - u'0');
        if (v > quint64(1) << 63) return false;
    }
    if (!neg && v > quint64(INT64_MAX)) return false;
    out = neg ? -qint64(v - 1) - 1 : qint64(v);
    return true;
}

}  // namespace

int StrToInt(const QString& s) {
    qint64 v = 0;
    if (!parseInt64(s, v) || v < INT32_MIN || v > INT32_MAX) throw invalid(s, "integer value");
    return int(v);
}

qint64 StrToInt64(const QString& s) {
    qint64 v = 0;
    if (!parseInt64(s, v)) throw invalid(s, "integer value");
    return v;
}

double StrToFloat(const QString& s) {
    // Digits with one decimal comma, an optional sign and exponent.
    const QString t = s.trimmed();
    QByteArray ascii;
    ascii.reserve(t.size());
    bool digits = false, sep = false, exp = false, expDigits = false;
    for (int i = 0; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9') {
            (exp ? expDigits : digits) = true;
            ascii.append(char(c));
        } else if (c == u',' && !sep && !exp) {
            sep = true;
            ascii.append('.');
        } else if ((c == u'e' || c == u'E') && digits && !exp) {
            exp = true;
            ascii.append('e');
        } else if ((c == u'+' || c == u'-') &&
                   (i == 0 || ((t[i - 1] == u'e' || t[i - 1] == u'E') && exp))) {
            ascii.append(char(c));
        } else {
            throw invalid(s, "floating point value");
        }
    }
    if (!digits || (exp && !expDigits)) throw invalid(s, "floating point value");
    const double v = std::strtod(ascii.constData(), nullptr);
    if (!std::isfinite(v)) throw invalid(s, "floating point value");
    return v;
}

namespace {

bool parseDate(const QString& text, QDate& out) {
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.size() != 3) return false;
    // A masked field left incomplete ("01.01.20  ") is no date.
    if (text.endsWith(u' ') && !text.trimmed().isEmpty() && parts[2].size() < 4) return false;
    qint64 d = 0, m = 0, y = 0;
    if (!parseInt64(parts[0], d) || !parseInt64(parts[1], m) || !parseInt64(parts[2], y)) return false;
    if (parts[2].trimmed().size() <= 2) y += y < 50 ? 2000 : 1900;  // two-digit years
    if (y < 1 || y > 9999) return false;
    const QDate date{int(y), int(m), int(d)};
    if (!date.isValid()) return false;
    out = date;
    return true;
}

}  // namespace

QDate StrToDate(const QString& s) {
    QDate d;
    if (!parseDate(s, d)) throw invalid(s, "date");
    return d;
}

QDateTime StrToDateTime(const QString& s) {
    const QString t = s.trimmed();
    const int blank = t.indexOf(u' ');
    QDate d;
    if (!parseDate(blank < 0 ? t : t.left(blank), d)) throw invalid(s, "date and time");
    QTime time(0, 0);
    if (blank >= 0) {
        const QStringList hms = t.mid(blank + 1).trimmed().split(u':');
        qint64 h = 0, m = 0, sec = 0;
        if (hms.size() < 2 || hms.size() > 3 || !parseInt64(hms[0], h) || !parseInt64(hms[1], m) ||
            (hms.size() == 3 && !parseInt64(hms[2], sec)))
            throw invalid(s, "date and time");
        time = QTime(int(h), int(m), int(sec));
        if (!time.isValid()) throw invalid(s, "date and time");
    }
    return QDateTime(d, time);
}

QString FloatToStr(double v) {
    if (std::isnan(v)) return QStringLiteral("NAN");
    if (std::isinf(v)) return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (v == 0) return QStringLiteral("0");
    // Whole numbers below 10^15 (prices, quantities) print as they are.
    if (std::fabs(v) < 1e15 && v == std::trunc(v)) return QString::number(qint64(v));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);  // 15 significant digits
    // Split mantissa digits and exponent, drop trailing zeros.
    const char* p = buf;
    const bool neg = *p == '-';
    if (neg) ++p;
    std::string digits;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') digits.push_back(*p);
    const int exp10 = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = neg ? "-" : "";
    if (exp10 < -5 || exp10 >= 15) {
        out += digits[0];
        if (digits.size() > 1) out += "," + digits.substr(1);
        out += "E";
        if (exp10 < 0) out += "-";
        out += std::to_string(std::abs(exp10));
    } else if (exp10 < 0) {
        out += "0," + std::string(size_t(-exp10 - 1), '0') + digits;
    } else {
        const size_t intLen = size_t(exp10) + 1;
        if (digits.size() <= intLen) {
            out += digits + std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen) + "," + digits.substr(intLen);
        }
    }
    return QString::fromLatin1(out.c_str());
}

QString DateToStr(const QDate& d) {
    if (!d.isValid()) return QString();
    return QStringLiteral("%1.%2.%3")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString TimeToStr(const QTime& t) {
    return QStringLiteral("%1:%2:%3")
        .arg(t.hour())
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

QString DateTimeToStr(const QDateTime& dt) {
    const QTime t = dt.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0) return DateToStr(dt.date());
    return DateToStr(dt.date()) + u' ' + TimeToStr(t);
}

}  // namespace rtl
