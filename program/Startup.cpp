#include "program/Startup.h"

#include "app/QuitOnSignal.h"

#include "app/MainWindow.h"
#include "program/Windows.h"
#include "widgets/Activation.h"
#include "widgets/ErrorDisplay.h"

#include <QFont>
#include <QScreen>
#include <QTimer>

namespace program {

int runProgram(int argc, char** argv) {
    widgets::Application application(argc, argv);
    // A compact sans serif, alike on every machine (fonts-liberation2).
    application.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    app::quitOnSignals();
    createForms();
    QWidget* const journal = app::mainWindow();
    journal->show();
    if (QScreen* screen = journal->screen()) {
        const QRect avail = screen->availableGeometry();
        journal->move(avail.center() - journal->rect().center());
    }
    // The first activation connects to the database; it runs in the loop so
    // that its messages and errors are shown like any other handler's.
    QTimer::singleShot(0, journal, [journal] { widgets::Activation::instance().report(journal); });
    const int rc = application.exec();
    destroyForms();
    return rc;
}

}  // namespace program
