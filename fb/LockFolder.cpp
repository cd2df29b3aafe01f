#include "fb/LockFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace fb {

namespace {

// A real folder (not a link) of this user that nobody else may enter.
bool ownedAlone(const QByteArray& path, bool fixMode) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
    if ((st.st_mode & 077) == 0) return true;
    return fixMode && ::chmod(path.constData(), 0700) == 0;
}

QString madeAlone(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0700);  // an existing one is checked below
    return ownedAlone(path, true) ? folder : QString();
}

}  // namespace

QString ownLockFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && ownedAlone(runtime, false)) {
        const QString folder = madeAlone(QFile::decodeName(runtime) + QStringLiteral("/torquil-firebird"));
        if (!folder.isEmpty()) return folder;
    }
    return madeAlone(QDir::tempPath() + QStringLiteral("/torquil-firebird-") + QString::number(::geteuid()));
}

void useOwnLockFolder() {
    if (!qEnvironmentVariableIsEmpty("FIREBIRD_LOCK")) return;
    const QString folder = ownLockFolder();
    if (!folder.isEmpty()) qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
}

}  // namespace fb
