#include "office/Viewer.h"
#include "office/Error.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace office {

namespace {
Viewer* installed = nullptr;
QString chosenDir;
} // namespace

bool DesktopViewer::show(const QString& path)
{
    return QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

Viewer& viewer()
{
    static DesktopViewer desktop;
    return installed ? *installed : desktop;
}

void setViewer(Viewer* v)
{
    installed = v;
}

QString outputDir()
{
    if (!chosenDir.isEmpty())
        return chosenDir;
    QString name = QStringLiteral("torquil");
#ifdef Q_OS_UNIX
    name += u'-' + QString::number(getuid());
#endif
    return QDir(QDir::tempPath()).filePath(name);
}

void setOutputDir(const QString& dir)
{
    chosenDir = dir;
}

QString freshOutputPath(const QString& stem)
{
    const QString dir = outputDir();
    if (!QDir().mkpath(dir))
        throw Error(QStringLiteral("Не удалось создать папку «%1»").arg(dir));
    const QString base = stem + u'-' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(dir).filePath(base + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(dir).filePath(base + u'-' + QString::number(n) + QStringLiteral(".xlsx"));
    return path;
}

} // namespace office
