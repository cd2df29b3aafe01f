#include "widgets/Activation.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

namespace widgets {

// Sits on the application: the WindowActivate of known windows, and their
// showing from hidden.
class ActivationFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::WindowActivate && type != QEvent::Show) || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        Activation& activation = Activation::instance();
        if (!widget->isWindow() || !activation.isTracked(widget)) return false;
        if (type == QEvent::Show) {
            if (!event->spontaneous()) activation.shown(widget);
        } else {
            activation.activatedByUser(widget);
        }
        return false;
    }
};

Activation& Activation::instance() {
    static Activation activation;
    activation.ensureFilter();
    return activation;
}

void Activation::ensureFilter() {
    if (filter_ || !QCoreApplication::instance())
        return;
    filter_ = new ActivationFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter_);
}

void Activation::setHandler(QWidget* window, std::function<void()> handler, Runs runs) {
    if (!window)
        return;
    window = window->window();
    const bool known = handlers_.count(window) > 0;
    Entry& entry = handlers_[window];
    entry.handler = std::move(handler);
    entry.runs = runs;
    if (!known)
        QObject::connect(window, &QObject::destroyed, [this, window] { handlers_.erase(window); });
}

void Activation::shown(QWidget* window) {
    const auto found = handlers_.find(window->window());
    if (found != handlers_.end()) found->second.openingPending = true;
}

void Activation::activatedByUser(QWidget* window) {
    window = window->window();
    if (window->isEnabled()) {
        report(window);
        return;
    }
    // A click on the greyed-out window, the task bar or Alt+Tab: the window
    // shown over it comes back to the front instead.
    raiseWindowOver(window);
}

bool Activation::raiseWindowOver(QWidget* window) {
    if (!window) return false;
    window = window->window();
    QWindow* handle = window->windowHandle();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == window || !top->isVisible() || !top->isEnabled() || !isTracked(top)) continue;
        QWindow* topHandle = top->windowHandle();
        if (!handle || !topHandle || topHandle->transientParent() != handle) continue;
        top->raise();
        top->activateWindow();
        report(top);
        return true;
    }
    return false;
}

bool Activation::isTracked(QWidget* window) const {
    return window && handlers_.count(window->window()) > 0;
}

void Activation::report(QWidget* window) {
    if (!window)
        return;
    window = window->window();
    if (last_ == window || !window->isEnabled())
        return;
    last_ = window;
    const auto found = handlers_.find(window);
    if (found == handlers_.end() || !found->second.handler)
        return;
    Entry& entry = found->second;
    if (entry.runs == Runs::OncePerOpening) {
        if (!entry.openingPending)
            return;
        entry.openingPending = false;
    }
    // A copy: the handler may replace itself.
    const std::function<void()> handler = entry.handler;
    handler();
}

}  // namespace widgets
