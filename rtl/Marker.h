#pragma once
// The row marker written into sysinfo of a new row so that its key can be read
// back: the date dd.mm.yyyy followed directly by the time H:mm:ss.
//
// Workstations sharing one database through a server insert within the same
// second; each then appends its own tag (its attachment id on the server),
// so that it never reads back another workstation's row. The tag is empty
// for a local database file, which one program at a time can open.
#include <QDateTime>
#include <QString>

namespace rtl {
QString SysInfoMarker(const QDateTime& now = QDateTime::currentDateTime());
void setMarkerTag(const QString& tag);
}
