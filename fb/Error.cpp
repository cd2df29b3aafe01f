#include "fb/Error.h"

#include "fb/Client.h"
#include "fb/Cp1251.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <cstring>

namespace fb {

Error::Error(const QString& text, std::vector<long> codes)
    : std::runtime_error(text.toStdString()), text_(text), codes_(std::move(codes)) {}

bool Error::hasCode(long gds) const { return std::find(codes_.begin(), codes_.end(), gds) != codes_.end(); }

Error Error::fromStatus(const Firebird::IStatus* status) {
    char buf[2048];
    client().util->formatStatus(buf, sizeof buf, const_cast<Firebird::IStatus*>(status));
    std::vector<long> codes;
    const intptr_t* v = status->getErrors();
    // Clusters of (isc_arg_*, value); gds codes follow isc_arg_gds.
    while (v && *v != isc_arg_end) {
        const intptr_t kind = *v++;
        const intptr_t value = *v++;
        if (kind == isc_arg_gds) codes.push_back(long(value));
        if (kind == isc_arg_cstring) ++v;  // length, then pointer
    }
    // The engine's own words are ASCII; what it quotes (a value that did not
    // convert, the text of an exception) comes in the attachment's bytes,
    // which are Windows-1251 here.
    return Error(fromCp1251(buf, qsizetype(strnlen(buf, sizeof buf))).trimmed(), std::move(codes));
}

}  // namespace fb
