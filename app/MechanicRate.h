#pragma once
// A mechanic's share of the labour (meh.rate): percent from 0 to 100 with at
// most two decimals, kept here in hundredths of a percent (1250 is 12,5 %).
#include <QString>
#include <optional>

namespace app {

// The field's caption, which the refusal names.
inline constexpr const char* kRateCaption = "СТАВКА, %";

// The typed share: empty is no share; a comma or a point before the
// decimals. Anything else, more than two decimals or outside 0-100 is
// refused with rtl::ConvertError naming the field.
std::optional<int> parseRate(const QString& text);
// As the window shows it: "12,5", "40"; no share: "".
QString rateText(std::optional<int> hundredths);
// For the statement: "12.50".
QString rateParam(int hundredths);

}  // namespace app
