#pragma once
// Text conversions with fixed error texts ("'%s' is not a valid integer
// value" and the like), always in the Russian conventions (decimal comma,
// dd.mm.yyyy, H:mm:ss) whatever the system locale.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <stdexcept>

namespace rtl {

// A typed text that does not convert. what() is UTF-8.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString& text);
    QString text() const { return text_; }

private:
    QString text_;
};

int StrToInt(const QString& s);          // "'%s' is not a valid integer value"
qint64 StrToInt64(const QString& s);
double StrToFloat(const QString& s);     // "'%s' is not a valid floating point value"
QDate StrToDate(const QString& s);       // "'%s' is not a valid date"
QDateTime StrToDateTime(const QString& s);  // date, optionally followed by H:mm[:ss]

// General number format: up to 15 significant digits, decimal comma,
// scientific notation only below 1E-5 or from 1E15 on ("1E-6", "1,5E20").
QString FloatToStr(double v);
QString DateToStr(const QDate& d);       // dd.mm.yyyy
QString TimeToStr(const QTime& t);       // H:mm:ss
QString DateTimeToStr(const QDateTime& dt);  // date, plus " H:mm:ss" unless midnight

}  // namespace rtl
