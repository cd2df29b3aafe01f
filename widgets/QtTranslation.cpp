#include "widgets/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace widgets {

bool loadQtTranslation() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    auto* t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

void useRussianSystemLocale() {
    const bool wasSet = qEnvironmentVariableIsSet("LC_ALL");
    const QByteArray was = qgetenv("LC_ALL");
    qputenv("LC_ALL", "ru_RU.UTF-8");
    (void)QLocale::system().name();
    if (wasSet) qputenv("LC_ALL", was);
    else qunsetenv("LC_ALL");
}

}  // namespace widgets
