#include "support/Handlers.h"

#include "widgets/Activation.h"

#include <QApplication>
#include <QEvent>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <memory>

#include <exception>

namespace support {

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

bool runInLoop(const std::function<void()>& handler, int timeoutMs) {
    // The flag and the handler are owned by the queued call: after a timeout
    // it may still run, or still be running in a nested loop, when this
    // function has returned.
    auto done = std::make_shared<bool>(false);
    QTimer::singleShot(0, qApp, [done, handler] {
        struct Done {
            bool& flag;
            ~Done() { flag = true; }
        } guard{*done};
        handler();
    });
    const QDeadlineTimer deadline(timeoutMs);
    while (!*done && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return *done;
}

void userActivates(QWidget* window) {
    widgets::Activation::instance().reset();  // another program was in front
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window, &activate);
}

bool openersEnded(int timeoutMs) {
    // An opener is the application's child until it has finished.
    const QDeadlineTimer deadline(timeoutMs);
    while (!QCoreApplication::instance()->findChildren<QProcess*>().isEmpty()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(20);
    }
    return true;
}

}  // namespace support
