#include "support/Modal.h"

#include "widgets/Activation.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace support {

void whenModal(QDialog* dialog, std::function<void()> action, bool* done) {
    if (done) *done = false;
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        const bool up = QApplication::activeModalWidget() == dialog &&
                        widgets::Activation::instance().lastActive() == dialog;
        if (!up && clock->elapsed() < 5000) return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (!up) {
            qWarning("modal window not shown");
            dialog->done(-1);
            return;
        }
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        action();
        if (!done) return;
        *done = !QTest::currentTestFailed();
        if (dialog->isVisible()) dialog->done(-1);  // the action did not close it: a failure
    });
    timer->start();
}

void whenModalRuns(std::function<void()> inside) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, inside] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            inside();
            // A window the action closed keeps its answer.
            if (dialog->isVisible()) dialog->reject();
        }
    });
    timer->start();
}

}  // namespace support
