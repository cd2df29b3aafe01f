#include "rtl/ProgramFolder.h"

#include <QCoreApplication>

namespace rtl {

namespace {
QString& overrideDir() {
    static QString dir;
    return dir;
}
}  // namespace

QString programFolder() {
    QString dir = overrideDir().isEmpty() ? QCoreApplication::applicationDirPath() : overrideDir();
    while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(u'\\')) && !dir.endsWith(QStringLiteral(":\\")))
        dir.chop(1);
    return dir;
}

void setProgramFolder(const QString& dir) { overrideDir() = dir; }

QString inProgramFolder(const QString& name) {
    // A root keeps its separator, so "/" + "/dbase.fdb" reads "//dbase.fdb".
    return programFolder() + u'/' + name;
}

}  // namespace rtl
