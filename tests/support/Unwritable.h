#pragma once
// A file or folder the program cannot write to, whoever runs the test: no
// write permission, and for root (whom permissions do not stop) the immutable
// flag. Everything is made writable again at the end.
#include <QString>

namespace support {

class UnwritableFile {
public:
    explicit UnwritableFile(const QString& path);
    ~UnwritableFile();
    UnwritableFile(const UnwritableFile&) = delete;
    UnwritableFile& operator=(const UnwritableFile&) = delete;

private:
    QString path_;
    bool folder_ = false;
    bool immutable_ = false;
};

}  // namespace support
