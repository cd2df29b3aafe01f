#include "fb/Cp1251.h"

#include <QHash>

namespace fb {

namespace {

// Windows-1251 bytes 0x80..0xFF as Unicode; 0 marks the one unassigned byte (0x98).
constexpr char16_t kHigh[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

struct Reverse {
    QHash<char16_t, unsigned char> map;
    Reverse() {
        for (int i = 0; i < 128; ++i)
            if (kHigh[i]) map.insert(kHigh[i], static_cast<unsigned char>(0x80 + i));
    }
};

const Reverse& reverse() {
    static const Reverse r;
    return r;
}

// The code point at `i`, a surrogate pair taken whole; `i` moves past it.
char32_t nextCodePoint(const QString& text, qsizetype& i) {
    const QChar c = text.at(i++);
    if (c.isHighSurrogate() && i < text.size() && text.at(i).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(i++));
    return c.unicode();
}

}  // namespace

EncodingError::EncodingError(char32_t ch)
    : Error(QStringLiteral("Символ «%1» (U+%2) не может быть записан в базу данных: "
                           "база данных хранит текст в кодировке Windows-1251.")
                .arg(QString::fromUcs4(&ch, 1), QString::number(ch, 16).toUpper().rightJustified(4, u'0'))),
      ch_(ch) {}

bool fitsCp1251(char32_t ch) { return ch < 0x80 || (ch <= 0xFFFF && reverse().map.contains(char16_t(ch))); }

QByteArray toCp1251(const QString& text) {
    QByteArray out;
    out.resize(text.size());
    char* dst = out.data();
    const QChar* src = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = src[i].unicode();
        if (c < 0x80) {
            dst[i] = char(c);
            continue;
        }
        const auto it = reverse().map.constFind(c);
        if (it == reverse().map.constEnd()) {
            qsizetype at = i;
            throw EncodingError(nextCodePoint(text, at));
        }
        dst[i] = char(*it);
    }
    return out;
}

bool fitsCp1251(const QString& text, char32_t* bad) {
    for (qsizetype i = 0; i < text.size();) {
        const char32_t ch = nextCodePoint(text, i);
        if (fitsCp1251(ch)) continue;
        if (bad) *bad = ch;
        return false;
    }
    return true;
}

QString fromCp1251(const char* bytes, qsizetype length) {
    QString out(length, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(bytes);
    for (qsizetype i = 0; i < length; ++i) {
        const unsigned char b = src[i];
        dst[i] = b < 0x80 ? char16_t(b) : (kHigh[b - 0x80] ? kHigh[b - 0x80] : u'\uFFFD');
    }
    return out;
}

}  // namespace fb
