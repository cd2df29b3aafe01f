#include "app/BackupTarget.h"

#include "fb/Connection.h"
#include "fb/Error.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace app {

namespace {

quint16 le16(const QByteArray& b, int at) { return quint16(uchar(b[at]) | (uchar(b[at + 1]) << 8)); }

// The header page: page type 1, then at byte 16 the page size (a power of
// two from 1 KB to 32 KB) and at 18 the on-disk structure version with the
// Firebird flag 0x8000.
bool isDatabaseHeader(const QByteArray& b) {
    if (b.size() < 20 || b[0] != 1) return false;
    const quint16 pageSize = le16(b, 16), ods = le16(b, 18);
    const bool sizeOk = pageSize >= 1024 && (pageSize & (pageSize - 1)) == 0;
    return sizeOk && (ods & 0x8000) && (ods & 0x7fff) >= 8 && (ods & 0x7fff) <= 20;
}

// A backup begins with its description record: record type 0, then the
// backup format attribute (2) as a four-byte number.
bool isBackupHeader(const QByteArray& b) { return b.size() >= 7 && b[0] == 0 && b[1] == 2 && b[2] == 4; }

}  // namespace

FileKind fileKind(const QString& path) {
    if (!QFileInfo::exists(path)) return FileKind::Missing;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Нельзя прочитать файл %1: %2").arg(path, f.errorString()));
    const QByteArray head = f.read(64);
    if (head.isEmpty()) return f.size() == 0 ? FileKind::Empty : FileKind::Other;
    if (isDatabaseHeader(head)) return FileKind::Database;
    if (isBackupHeader(head)) return FileKind::Backup;
    return FileKind::Other;
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0) return false;
    if (::stat(QFile::encodeName(b).constData(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void refuseBackupTarget(const QString& database, const QString& target) {
    const bool local = !fb::Connection::isRemotePath(database);
    if (local && sameFile(database, target))
        throw fb::Error(QStringLiteral("Файл %1 — это база данных, с которой работает программа.\r"
                                       "Копию нельзя записать на её место: выберите другое имя файла.")
                            .arg(target));
    if (QFileInfo(target).isDir())
        throw fb::Error(QStringLiteral("%1 — это папка, а не файл.").arg(target));
    switch (fileKind(target)) {
    case FileKind::Missing:
    case FileKind::Empty:
    case FileKind::Backup:
        return;
    case FileKind::Database:
        throw fb::Error(QStringLiteral("Файл %1 — это база данных.\r"
                                       "Копию нельзя записать на её место: выберите другое имя файла.")
                            .arg(target));
    case FileKind::Other:
        break;
    }
    throw fb::Error(QStringLiteral("Файл %1 не является резервной копией базы данных.\r"
                                   "Копия заменяет только прежнюю копию: выберите другое имя файла.")
                        .arg(target));
}

}  // namespace app
