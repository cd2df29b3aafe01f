#pragma once
// The application-wide error display. Handlers throw; Application::notify
// catches what escapes an event handler, a slot or a timer and shows its text
// in an error box captioned with the program's name. The event is then
// dropped and the event loop goes on. The application also speaks Russian in
// Qt's own texts (QtTranslation.h) and presses a focused button on Enter
// (ButtonKeys.h).
#include "widgets/Doing.h"

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace widgets {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error text as the display does (through the message seam,
    // caption: the program's name) and remembers it.
    static void showErrorText(const QString& text);
    // The text of an exception: what() (UTF-8), or what the error words make
    // of it together with the action it left (widgets/Doing.h).
    static void showException(const std::exception& error);

    // Turns an error into the clerk's words; an empty result keeps what().
    // The program installs the database layer's (app/ErrorWords.h).
    using ErrorWords = std::function<QString(const std::exception&, const FailedAction&)>;
    static void setErrorWords(ErrorWords words);

    // The last text shown by the display, for tests.
    static QString lastError();
    static void clearLastError();

    // The text shown for an exception that is no std::exception.
    static QString unknownErrorText();

private:
    int depth_ = 0;  // nesting of notify()
};

}  // namespace widgets
