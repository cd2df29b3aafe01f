#include "rtl/Marker.h"

#include "rtl/Convert.h"

namespace rtl {
QString SysInfoMarker(const QDateTime& now) { return DateToStr(now.date()) + TimeToStr(now.time()); }
}
