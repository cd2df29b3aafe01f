#include "widgets/Activation.h"

#include <QCoreApplication>
#include <QEvent>

namespace widgets {

namespace {

// Sits on the application and reports the WindowActivate of known windows.
class ActivationFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            Activation& activation = Activation::instance();
            if (widget->isWindow() && activation.isTracked(widget))
                activation.report(widget);
        }
        return false;
    }
};

}  // namespace

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

void Activation::setHandler(QWidget* window, std::function<void()> handler) {
    if (!window)
        return;
    window = window->window();
    const bool known = handlers_.count(window) > 0;
    handlers_[window] = std::move(handler);
    if (!known)
        QObject::connect(window, &QObject::destroyed, [this, window] { handlers_.erase(window); });
}

void Activation::removeHandler(QWidget* window) {
    if (window)
        handlers_.erase(window->window());
}

bool Activation::isTracked(QWidget* window) const {
    return window && handlers_.count(window->window()) > 0;
}

void Activation::report(QWidget* window) {
    if (!window)
        return;
    window = window->window();
    if (last_ == window)
        return;
    last_ = window;
    const auto found = handlers_.find(window);
    if (found == handlers_.end() || !found->second)
        return;
    // A copy: the handler may replace itself.
    const std::function<void()> handler = found->second;
    handler();
}

}  // namespace widgets
