#include "widgets/ErrorDisplay.h"

#include "widgets/ButtonKeys.h"
#include "widgets/Messages.h"
#include "widgets/QtTranslation.h"

namespace widgets {

namespace {

QString lastShownError;
Application::ErrorWords errorWords;

// Runs before QApplication's constructor.
int& beforeApplication(int& argc) {
    useRussianSystemLocale();
    return argc;
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(beforeApplication(argc), argv) {
    // Qt's own texts in Russian and Enter on a focused button, in the
    // program and under the tests alike.
    loadQtTranslation();
    installButtonEnter();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    // An event from the loop starts afresh: an action left by an exception
    // that was handled on the way is no longer news.
    if (depth_ == 0) forgetFailedAction();
    struct Depth {
        int& d;
        explicit Depth(int& v) : d(++v) {}
        ~Depth() { --d; }
    } depth(depth_);
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showException(error);
    } catch (...) {
        forgetFailedAction();
        showErrorText(unknownErrorText());
    }
    return false;
}

void Application::showErrorText(const QString& text) {
    lastShownError = text;
    showError(text, programName());
}

void Application::showException(const std::exception& error) {
    const FailedAction action = takeFailedAction();
    const QString words = errorWords ? errorWords(error, action) : QString();
    showErrorText(words.isEmpty() ? QString::fromUtf8(error.what()) : words);
}

void Application::setErrorWords(ErrorWords words) { errorWords = std::move(words); }

QString Application::lastError() {
    return lastShownError;
}

void Application::clearLastError() {
    lastShownError.clear();
}

QString Application::unknownErrorText() {
    return QStringLiteral("Неизвестная ошибка");
}

}  // namespace widgets
