#pragma once
// The row marker written into sysinfo of a new row so that its key can be read
// back: the date dd.mm.yyyy followed directly by the time H:mm:ss.
#include <QDateTime>
#include <QString>

namespace rtl {
QString SysInfoMarker(const QDateTime& now = QDateTime::currentDateTime());
}
