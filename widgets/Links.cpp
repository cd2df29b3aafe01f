#include "widgets/Links.h"

#include <QDesktopServices>
#include <QUrl>

namespace widgets {

namespace {
std::function<bool(const QString&)>& opener() {
    static std::function<bool(const QString&)> f;
    return f;
}
}  // namespace

void openLink(const QString& address) {
    // The result is not waited for nor checked.
    if (opener()) {
        opener()(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(address));
}

void setLinkOpener(std::function<bool(const QString&)> f) { opener() = std::move(f); }

}  // namespace widgets
