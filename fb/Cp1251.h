#pragma once
// Text crosses the database boundary as Windows-1251 bytes.
#include "fb/Error.h"

#include <QByteArray>
#include <QString>

namespace fb {

// A character that Windows-1251 cannot hold; raised before anything is sent.
// The character is a whole code point: a surrogate pair (an emoji) is one.
class EncodingError : public Error {
public:
    explicit EncodingError(char32_t ch);
    char32_t character() const { return ch_; }

private:
    char32_t ch_;
};

QByteArray toCp1251(const QString& text);  // throws EncodingError
bool fitsCp1251(const QString& text, char32_t* bad = nullptr);
bool fitsCp1251(char32_t ch);
QString fromCp1251(const char* bytes, qsizetype length);

}  // namespace fb
