#include "widgets/ErrorDisplay.h"

#include "widgets/ButtonKeys.h"
#include "widgets/Messages.h"
#include "widgets/QtTranslation.h"

namespace widgets {

namespace {

QString lastShownError;

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
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showException(error);
    } catch (...) {
        showErrorText(unknownErrorText());
    }
    return false;
}

void Application::showErrorText(const QString& text) {
    lastShownError = text;
    showError(text, QGuiApplication::applicationDisplayName());
}

void Application::showException(const std::exception& error) {
    showErrorText(QString::fromUtf8(error.what()));
}

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
