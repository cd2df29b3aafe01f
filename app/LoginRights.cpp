#include "app/LoginRights.h"

#include "app/Login.h"

#include <QAction>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace app {

namespace {
std::vector<QPointer<QAction>>& actions() {
    static std::vector<QPointer<QAction>> a;
    return a;
}
std::vector<QPointer<QWidget>>& widgets() {
    static std::vector<QPointer<QWidget>> w;
    return w;
}
}  // namespace

void ownerOnly(QAction* action) { actions().emplace_back(action); }
void ownerOnly(QWidget* widget) { widgets().emplace_back(widget); }

void applyRole() {
    const bool owner = isOwner();
    const QString hint = owner ? QString() : ownerOnlyHint();
    for (const QPointer<QAction>& a : actions()) {
        if (!a) continue;
        a->setEnabled(owner);
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    for (const QPointer<QWidget>& w : widgets()) {
        if (!w) continue;
        w->setEnabled(owner);
        w->setToolTip(hint);
    }
}

}  // namespace app
