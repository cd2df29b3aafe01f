#include "fb/Error.h"

#include "fb/Client.h"
#include "fb/Cp1251.h"

#include <firebird/Interface.h>

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace fb {

namespace {

// The arguments of one status vector come in two encodings. What the
// engine quotes from the database (a value that did not convert, an
// exception's text, an object's name) is in the attachment's bytes, which
// are Windows-1251 here; a file name is the system's own, UTF-8. Windows-1251
// Cyrillic is practically never valid UTF-8 (its letters are 0xC0-0xFF, and
// a UTF-8 lead byte there must be followed by 0x80-0xBF), so bytes that are
// valid UTF-8 with a multi-byte sequence in them are taken as UTF-8, and any
// other bytes as Windows-1251. Plain ASCII reads the same either way.
QString decodeArgument(const char* bytes, qsizetype length) {
    const bool ascii = std::all_of(bytes, bytes + length, [](char c) { return (unsigned char)c < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(QByteArrayView(bytes, length));
        if (!utf8.hasError()) return text;
    }
    return fromCp1251(bytes, length);
}

// A copy of the status vector whose text arguments are all UTF-8, each
// decoded by the rule above; the engine's formatter then gives UTF-8 text.
class Utf8Status {
public:
    explicit Utf8Status(const intptr_t* v) {
        // Two passes: the texts first, so that their buffers no longer move
        // once the vector points into them.
        for (const intptr_t* p = v; p && *p != isc_arg_end;) {
            const intptr_t kind = *p++;
            if (kind == isc_arg_cstring) {
                const auto length = qsizetype(*p++);
                texts_.push_back(utf8(reinterpret_cast<const char*>(*p++), length));
            } else if (isText(kind)) {
                const char* s = reinterpret_cast<const char*>(*p++);
                texts_.push_back(utf8(s, s ? qsizetype(std::strlen(s)) : 0));
            } else {
                ++p;
            }
        }
        std::size_t next = 0;
        for (const intptr_t* p = v; p && *p != isc_arg_end;) {
            const intptr_t kind = *p++;
            if (kind == isc_arg_cstring) {
                p += 2;
                vector_.push_back(isc_arg_string);
                vector_.push_back(reinterpret_cast<intptr_t>(texts_[next++].c_str()));
            } else if (isText(kind)) {
                ++p;
                vector_.push_back(kind);
                vector_.push_back(reinterpret_cast<intptr_t>(texts_[next++].c_str()));
            } else {
                vector_.push_back(kind);
                vector_.push_back(*p++);
            }
        }
        vector_.push_back(isc_arg_end);
    }

    const intptr_t* vector() const { return vector_.data(); }

private:
    static bool isText(intptr_t kind) {
        return kind == isc_arg_string || kind == isc_arg_interpreted || kind == isc_arg_sql_state;
    }
    static std::string utf8(const char* bytes, qsizetype length) {
        return length > 0 ? decodeArgument(bytes, length).toStdString() : std::string();
    }

    std::vector<std::string> texts_;
    std::vector<intptr_t> vector_;
};

}  // namespace

Error::Error(const QString& text, std::vector<long> codes)
    : std::runtime_error(text.toStdString()), text_(text), codes_(std::move(codes)) {}

bool Error::hasCode(long gds) const { return std::find(codes_.begin(), codes_.end(), gds) != codes_.end(); }

bool Error::isRowConflict() const {
    return hasCode(isc_update_conflict) || hasCode(isc_lock_conflict) || hasCode(isc_deadlock);
}

Error Error::fromStatus(const Firebird::IStatus* status) {
    const intptr_t* v = status->getErrors();
    std::vector<long> codes;
    // Clusters of (isc_arg_*, value); gds codes follow isc_arg_gds.
    for (const intptr_t* p = v; p && *p != isc_arg_end;) {
        const intptr_t kind = *p++;
        const intptr_t value = *p++;
        if (kind == isc_arg_gds) codes.push_back(long(value));
        if (kind == isc_arg_cstring) ++p;  // length, then pointer
    }
    const Utf8Status converted(v);
    std::unique_ptr<Firebird::IStatus, Disposed> copy(client().master->getStatus());
    copy->setErrors(converted.vector());
    char buf[2048];
    client().util->formatStatus(buf, sizeof buf, copy.get());
    // The engine's own words are ASCII, so the whole text is UTF-8 now.
    return Error(QString::fromUtf8(buf, qsizetype(strnlen(buf, sizeof buf))).trimmed(), std::move(codes));
}

}  // namespace fb
