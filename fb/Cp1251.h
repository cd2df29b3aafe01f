#pragma once
// Text crosses the database boundary as Windows-1251 bytes.
#include "fb/Error.h"

#include <QByteArray>
#include <QString>

namespace fb {

// A character that Windows-1251 cannot hold; raised before anything is sent.
class EncodingError : public Error {
public:
    explicit EncodingError(QChar ch);
    QChar character() const { return ch_; }

private:
    QChar ch_;
};

QByteArray toCp1251(const QString& text);  // throws EncodingError
bool fitsCp1251(const QString& text, QChar* bad = nullptr);
QString fromCp1251(const char* bytes, qsizetype length);

}  // namespace fb
