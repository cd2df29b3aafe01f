#pragma once
// The shop's settings, kept in the database (table Settings: a name and its
// value as text), so that every workstation works with the same.
#include <QString>

namespace app {

// The stored value, or `fallback` when none is stored (or the database has
// no Settings yet).
QString setting(const QString& name, const QString& fallback = QString());
int settingInt(const QString& name, int fallback);
// Stores a value and commits; an empty value removes the setting.
void storeSetting(const QString& name, const QString& value);

// The shop's service interval, for reminders and the next service proposed.
constexpr const char* kServiceMonths = "service_months";
constexpr const char* kServiceKm = "service_km";
constexpr int kDefaultServiceMonths = 12;
constexpr int kDefaultServiceKm = 15000;

}  // namespace app
