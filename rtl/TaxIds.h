#pragma once
// The Russian tax numbers of a shop's details, checked by their control
// digits: ИНН of an organisation (10 digits) or of a sole trader (12), ОГРН
// (13 digits, first digit 1 or 5) and ОГРНИП (15 digits, first digit 3).
// Each check returns an empty text for a valid number, otherwise the reason
// in the clerk's words. Surrounding spaces are ignored; anything else that
// is not a digit makes the number invalid.
#include <QString>

namespace rtl {

QString innError(const QString& inn);       // 10 or 12 digits
QString ogrnError(const QString& ogrn);     // 13 digits
QString ogrnipError(const QString& ogrnip); // 15 digits

inline bool isValidInn(const QString& inn) { return innError(inn).isEmpty(); }
inline bool isValidOgrn(const QString& ogrn) { return ogrnError(ogrn).isEmpty(); }
inline bool isValidOgrnip(const QString& ogrnip) { return ogrnipError(ogrnip).isEmpty(); }

}  // namespace rtl
