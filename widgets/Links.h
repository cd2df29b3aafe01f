#pragma once
// Opening a web address or a "mailto:" address through the desktop. A failure
// stays silent; tests install a recorder instead of the desktop.
#include <QString>

#include <functional>

namespace widgets {

void openLink(const QString& address);
// Replaces the desktop's open operation (empty function: the desktop again).
void setLinkOpener(std::function<bool(const QString&)> opener);

}  // namespace widgets
