#include "support/Program.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>

namespace support {

int endProgramWithSignal(const QString& folder, int sig, const std::function<bool(qint64 pid)>& attached) {
    const QString program = QDir(folder).filePath(QStringLiteral("torquil"));
    QFile::remove(program);
    if (!QFile::copy(QStringLiteral(TORQUIL_BINARY_DIR "/torquil"), program)) return -1;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(program, {});
    if (!p.waitForStarted(10000)) return -1;
    const QDeadlineTimer deadline(30000);
    while (!attached(p.processId())) {
        if (deadline.hasExpired() || p.state() == QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
            return -1;
        }
        QThread::msleep(50);
    }
    ::kill(pid_t(p.processId()), sig);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(5000);
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool hasFileOpen(qint64 pid, const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == target) return true;
    return false;
}

}  // namespace support
