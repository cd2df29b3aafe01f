#pragma once
// The printing layer's failure: what() is UTF-8 text that the program's error
// display shows as it is.
#include <QString>
#include <stdexcept>

namespace print {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};

}  // namespace print
