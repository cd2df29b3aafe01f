#include "app/LoginRights.h"

#include "app/Login.h"

#include <QAction>
#include <QPointer>
#include <QVariant>
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

// A control the role disabled is marked, so that the owner's role enables
// only those again and leaves alone what a window disabled for its own
// reasons (a step the database lacks, an empty list).
const char* const kByRole = "torquilDisabledByRole";

template <typename Control>
void apply(Control* c, bool owner, const QString& hint) {
    if (!owner) {
        if (c->isEnabled()) c->setProperty(kByRole, true);
        c->setEnabled(false);
    } else if (c->property(kByRole).toBool()) {
        c->setProperty(kByRole, QVariant());
        c->setEnabled(true);
    }
    c->setToolTip(hint);
}

}  // namespace

void ownerOnly(QAction* action) { actions().emplace_back(action); }
void ownerOnly(QWidget* widget) { widgets().emplace_back(widget); }

void applyRole() {
    const bool owner = isOwner();
    const QString hint = owner ? QString() : ownerOnlyHint();
    for (const QPointer<QAction>& a : actions()) {
        if (!a) continue;
        apply(a.data(), owner, hint);
        a->setStatusTip(hint);
    }
    for (const QPointer<QWidget>& w : widgets()) {
        if (w) apply(w.data(), owner, hint);
    }
}

}  // namespace app
