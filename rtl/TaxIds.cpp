#include "rtl/TaxIds.h"

#include <array>
#include <cstdint>
#include <vector>

namespace rtl {

namespace {

// The digits of `text` (spaces around it dropped); empty when any other
// character is in it.
std::vector<int> digitsOf(const QString& text) {
    const QString t = text.trimmed();
    std::vector<int> d;
    d.reserve(t.size());
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return {};
        d.push_back(c.unicode() - '0');
    }
    return d;
}

// The ИНН's control digit over the digits before `count`, with the last
// `count` weights of the common weight row.
int innControl(const std::vector<int>& d, int count) {
    static constexpr std::array<int, 11> weights{3, 7, 2, 4, 10, 3, 5, 9, 4, 6, 8};
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += d[i] * weights[weights.size() - count + i];
    return sum % 11 % 10;
}

// The ОГРН / ОГРНИП control: the number of all digits but the last, modulo
// `modulus`, its last digit.
int registryControl(const std::vector<int>& d, int modulus) {
    std::int64_t n = 0;
    for (std::size_t i = 0; i + 1 < d.size(); ++i) n = n * 10 + d[i];
    return int(n % modulus % 10);
}

QString registryError(const QString& text, const QString& name, std::size_t length, const QString& firstDigits,
                      int modulus) {
    const std::vector<int> d = digitsOf(text);
    if (d.size() != length) return QStringLiteral("%1 должен состоять из %2 цифр").arg(name).arg(length);
    if (!firstDigits.contains(QChar('0' + d[0])))
        return QStringLiteral("%1 не может начинаться с цифры %2").arg(name).arg(d[0]);
    if (registryControl(d, modulus) != d.back()) return QStringLiteral("Неверное контрольное число %1").arg(name);
    return {};
}

}  // namespace

QString innError(const QString& inn) {
    const std::vector<int> d = digitsOf(inn);
    if (d.size() != 10 && d.size() != 12)
        return QStringLiteral("ИНН должен состоять из 10 цифр (организация) или 12 цифр (предприниматель)");
    if (d[0] == 0 && d[1] == 0) return QStringLiteral("ИНН не может начинаться с 00");
    const bool valid = d.size() == 10 ? innControl(d, 9) == d[9]
                                      : innControl(d, 10) == d[10] && innControl(d, 11) == d[11];
    return valid ? QString() : QStringLiteral("Неверное контрольное число ИНН");
}

QString ogrnError(const QString& ogrn) {
    return registryError(ogrn, QStringLiteral("ОГРН"), 13, QStringLiteral("15"), 11);
}

QString ogrnipError(const QString& ogrnip) {
    return registryError(ogrnip, QStringLiteral("ОГРНИП"), 15, QStringLiteral("3"), 13);
}

}  // namespace rtl
