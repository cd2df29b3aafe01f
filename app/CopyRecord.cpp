#include "app/CopyRecord.h"

#include "fb/Error.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace app {

namespace {
const QByteArray kFirstLine = "torquil copy record 1";
}

QString recordPath(const QString& copy) { return copy + QStringLiteral(".check"); }

QByteArray sha256Of(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Нельзя прочитать файл %1: %2").arg(file, f.errorString()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f) || f.error() != QFileDevice::NoError)
        throw fb::Error(QStringLiteral("Нельзя прочитать файл %1: %2").arg(file, f.errorString()));
    return hash.result().toHex();
}

bool isRecordFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.readLine().trimmed() == kFirstLine;
}

void writeRecord(const QString& path, const CopyRecord& record) {
    QByteArray text = kFirstLine + '\n';
    text += "sha256 " + record.sha256 + '\n';
    text += "size " + QByteArray::number(record.size) + '\n';
    for (auto it = record.counts.begin(); it != record.counts.end(); ++it)
        text += "table " + it.key().toUtf8() + ' ' + QByteArray::number(it.value()) + '\n';
    text += "end\n";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size() || !f.flush())
        throw fb::Error(QStringLiteral("Нельзя записать файл %1: %2").arg(path, f.errorString()));
    f.close();
    syncToDisk(path);
}

std::optional<CopyRecord> readRecord(const QString& path) {
    if (!QFileInfo::exists(path)) return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Нельзя прочитать файл %1: %2").arg(path, f.errorString()));
    const QList<QByteArray> lines = f.readAll().split('\n');
    const auto broken = [&path] {
        return fb::Error(QStringLiteral("Файл %1 повреждён: описание копии не читается").arg(path));
    };
    if (lines.isEmpty() || lines[0].trimmed() != kFirstLine) throw broken();
    CopyRecord r;
    bool ended = false, hasSize = false;
    for (qsizetype i = 1; i < lines.size() && !ended; ++i) {
        const QList<QByteArray> w = lines[i].trimmed().split(' ');
        bool ok = true;
        if (w.size() == 2 && w[0] == "sha256")
            r.sha256 = w[1];
        else if (w.size() == 2 && w[0] == "size")
            r.size = w[1].toLongLong(&ok), hasSize = ok;
        else if (w.size() == 3 && w[0] == "table")
            r.counts.insert(QString::fromUtf8(w[1]), w[2].toLongLong(&ok));
        else if (w.size() == 1 && w[0] == "end")
            ended = true;
        else
            ok = false;
        if (!ok) throw broken();
    }
    if (!ended || !hasSize || r.sha256.size() != 64) throw broken();
    return r;
}

void syncToDisk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int err = errno;
        if (fd >= 0) ::close(fd);
        throw fb::Error(QStringLiteral("Нельзя записать на диск %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(err))));
    }
    ::close(fd);
}

}  // namespace app
