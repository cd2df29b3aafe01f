#include "office/Viewer.h"
#include "office/Error.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
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
    if (!QFileInfo(path).isFile())
        return false;
    // Owned by the application: an opener still running after the wait
    // lives on until it finishes.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(opener, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(opener, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer::singleShot(waitMs_, &loop, &QEventLoop::quit);
    opener->start(opener_, {path});
    if (opener->state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (opener->state() != QProcess::NotRunning) {
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true; // the application runs in front of the user
    }
    const bool shown = opener->error() == QProcess::UnknownError && opener->exitStatus() == QProcess::NormalExit
        && opener->exitCode() == 0;
    delete opener;
    return shown;
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
