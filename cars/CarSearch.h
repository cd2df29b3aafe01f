#pragma once
// The search of the car directory: a typed text found anywhere in the
// registration number with its region, the owner, the phone, the VIN or the
// make and model of a car.
#include <QString>

namespace fb { class Query; }

namespace cars {

// The LIKE pattern that finds `text` anywhere, "%", "_" and "\" taken
// literally (escaped with "\").
QString containsPattern(const QString& text);
// The text as a phone is compared: blanks, "+", "-", "(" and ")" left out.
QString phoneText(const QString& text);

// The statement of the directory's list for a search text, closed and ready
// to open: every car (the fixed list) when the text is blank, else the
// cars that the text finds, in the same order.
fb::Query& carListQuery(const QString& search);

}  // namespace cars
