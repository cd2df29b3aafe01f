#include "cars/SearchFold.h"

#include "fb/Cp1251.h"

#include <algorithm>
#include <array>

namespace cars::fold {

namespace {

// Each Windows-1251 byte as it is compared.
std::array<char, 256> makeTable() {
    // Latin capitals and the Cyrillic capitals they look like.
    static const char16_t latin[] = u"ABEKMHOPCTYX";
    static const char16_t cyrillic[] = u"АВЕКМНОРСТУХ";
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        QString c = fb::fromCp1251(&byte, 1).toUpper();
        if (c == u"Ё") c = QStringLiteral("Е");
        if (c.size() == 1)
            for (int i = 0; latin[i]; ++i)
                if (c[0] == QChar(latin[i])) c = QChar(cyrillic[i]);
        table[size_t(b)] = byte;
        if (c.size() == 1 && fb::fitsCp1251(c[0].unicode())) table[size_t(b)] = fb::toCp1251(c).at(0);
    }
    return table;
}

const std::array<char, 256>& table() {
    static const std::array<char, 256> t = makeTable();
    return t;
}

char folded(char byte) { return table()[static_cast<unsigned char>(byte)]; }

bool isSign(char c) { return c == ' ' || c == '+' || c == '-' || c == '(' || c == ')'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool allDigits(const std::string& s) { return std::all_of(s.begin(), s.end(), isDigit); }

std::string without(const std::string& s, bool (*drop)(char)) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (!drop(c)) out += c;
    return out;
}

}  // namespace

// Both run 50,000 times and more at the first search: written in place.
void appendText(std::string& out, QByteArrayView stored) {
    const char* t = table().data();
    const size_t at = out.size();
    out.resize(at + size_t(stored.size()));
    char* to = out.data() + at;
    for (char c : stored) *to++ = t[static_cast<unsigned char>(c)];
}

void appendPlate(std::string& out, QByteArrayView stored) {
    const char* t = table().data();
    const size_t at = out.size();
    out.resize(at + size_t(stored.size()));
    char* to = out.data() + at;
    for (char c : stored)
        if (c != ' ') *to++ = t[static_cast<unsigned char>(c)];
    out.resize(size_t(to - out.data()));
}

void appendPhone(std::string& out, QByteArrayView stored) {
    std::string t;  // the signs but "+" left out
    t.reserve(size_t(stored.size()));
    for (char c : stored)
        if (c == '+' || !isSign(c)) t += folded(c);
    size_t from = 0;
    if (t.compare(0, 2, "+7") == 0)
        from = 2;
    else if (t.size() == 11 && (t[0] == '8' || t[0] == '7') && allDigits(t))
        from = 1;
    out += kPhoneStart;
    for (size_t i = from; i < t.size(); ++i)
        if (t[i] != '+') out += t[i];
}

std::optional<std::string> text(const QString& typed) {
    if (!fb::fitsCp1251(typed)) return std::nullopt;
    const QByteArray bytes = fb::toCp1251(typed);
    std::string out;
    out.reserve(size_t(bytes.size()));
    appendText(out, bytes);
    return out;
}

std::string withoutBlanks(const std::string& folded) {
    return without(folded, [](char c) { return c == ' '; });
}

std::string phonePart(const std::string& folded) { return without(folded, isSign); }

std::string phoneStart(const std::string& folded) {
    const std::string t = without(folded, [](char c) { return c != '+' && isSign(c); });
    std::string rest;
    if (t.compare(0, 2, "+7") == 0)
        rest = t.substr(2);
    else if (!t.empty() && t[0] == '8')
        rest = t.substr(1);
    else if (t.size() == 11 && t[0] == '7')
        rest = t.substr(1);
    rest = phonePart(rest);
    if (rest.empty() || !allDigits(rest)) return {};
    return kPhoneStart + rest;
}

}  // namespace cars::fold
