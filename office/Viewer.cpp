#include "office/Viewer.h"
#include "office/Error.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace office {

namespace {
Viewer* installed = nullptr;
QString chosenDir;
} // namespace

bool DesktopViewer::show(const QString& path, const LateFailure& failedLater)
{
    if (!QFileInfo(path).isFile())
        return false;
    // Owned by the application: the opener lives on until it finishes.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->start(opener_, {path});
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, path, failedLater](int code, QProcess::ExitStatus status) {
                         opener->deleteLater();
                         if ((status != QProcess::NormalExit || code != 0) && failedLater)
                             failedLater(path);
                     });
    return true;
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
