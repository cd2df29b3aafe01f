#include "support/Unwritable.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <unistd.h>

namespace support {

UnwritableFile::UnwritableFile(const QString& path) : path_(path), folder_(QFileInfo(path).isDir()) {
    QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    if (folder_) read |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(path, read);
    if (::geteuid() == 0) immutable_ = QProcess::execute("chattr", {"+i", path}) == 0;
}

UnwritableFile::~UnwritableFile() {
    if (immutable_) QProcess::execute("chattr", {"-i", path_});
    QFile::Permissions rw = QFile::ReadOwner | QFile::WriteOwner;
    if (folder_) rw |= QFile::ExeOwner;
    QFile::setPermissions(path_, rw);
}

}  // namespace support
