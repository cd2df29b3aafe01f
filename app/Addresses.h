#pragma once
// The maker's web site and support address, shown in the menu and the about box.
#include <QString>

namespace app {

inline QString siteAddress() { return QStringLiteral("https://www.torquil.example"); }
inline QString supportAddress() { return QStringLiteral("support@torquil.example"); }

}  // namespace app
