#pragma once
// The application-wide error display. Handlers throw; Application::notify
// catches what escapes an event handler, a slot or a timer and shows its text
// in an error box captioned with the program's name. The event is then
// dropped and the event loop goes on. The application also speaks Russian in
// Qt's own texts (QtTranslation.h) and presses a focused button on Enter
// (ButtonKeys.h).
#include <QApplication>
#include <QString>
#include <exception>

namespace widgets {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error text as the display does (through the message seam,
    // caption: the program's name) and remembers it.
    static void showErrorText(const QString& text);
    static void showException(const std::exception& error);  // what() is UTF-8

    // The last text shown by the display, for tests.
    static QString lastError();
    static void clearLastError();

    // The text shown for an exception that is no std::exception.
    static QString unknownErrorText();
};

}  // namespace widgets
