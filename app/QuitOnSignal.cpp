#include "app/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

int wakeFds[2] = {-1, -1};

// Only what is safe in a signal handler: one byte into the pipe; the event
// loop does the rest.
void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFds[0], &byte, 1);
    errno = saved;
}

bool listen() {
    if (wakeFds[0] >= 0) return true;
    if (!QCoreApplication::instance()) return false;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeFds) != 0) return false;
    auto* notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char buffer[16];
        while (::read(wakeFds[1], buffer, sizeof buffer) > 0) {
        }
        // Every event loop ends, a modal window's too; unsaved input is
        // dropped as when the main window is closed.
        QCoreApplication::exit(0);
    });
    return true;
}

}  // namespace

namespace {

sigset_t endingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&set, sig);
    return set;
}

}  // namespace

EndingSignalsHeld::EndingSignalsHeld() {
    const sigset_t set = endingSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

EndingSignalsHeld::~EndingSignalsHeld() {
    quitOnSignals();
    const sigset_t set = endingSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void quitOnSignals() {
    if (!listen()) return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace app
