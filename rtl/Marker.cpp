#include "rtl/Marker.h"

#include "rtl/Convert.h"

namespace rtl {

namespace {
// The width of the sysinfo columns.
constexpr qsizetype kMarkerLength = 30;

QString& tagText() {
    static QString tag;
    return tag;
}
}  // namespace

QString SysInfoMarker(const QDateTime& now) {
    const QString stamp = DateToStr(now.date()) + TimeToStr(now.time());
    // The end of the tag is the part that tells workstations apart.
    return stamp + tagText().right(kMarkerLength - stamp.size());
}

void setMarkerTag(const QString& tag) { tagText() = tag; }

}  // namespace rtl
