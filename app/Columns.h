#pragma once
// The text lengths of the columns the windows' fields write or match, as
// schema/dbase.sql declares them: a changed column is changed here once, and
// every field, filter and display follows.
namespace app::columns {

// The widest INTEGER as text ("-2147483648").
inline constexpr int kInteger = 11;

namespace cars {
inline constexpr int dev = 40, mod = 40, gnum = 15, region = 5, vin = 20, color = 40, engine = 40, engine2 = 60,
                     body = 40, body2 = 60, owner = 100, phone = 30;
}

namespace contracts {
inline constexpr int meh = 60, rem = 1000;
// Step 3: the acceptance.
inline constexpr int cust_address = 200, extra_rule = 40, accept_note = 1000;
}

}  // namespace app::columns
