#pragma once
// The input message of a statement: the parameter values in the program's own
// types (text, 64-bit integer, exact decimal, double, timestamp, NULL); the engine converts
// them to the types it described for the statement.
#include "fb/Client.h"
#include "fb/Error.h"

#include <QByteArray>
#include <QDateTime>

#include <memory>
#include <variant>
#include <vector>

namespace fb {

// An exact decimal: `value` × 10^`scale` (scale 0 or negative), as NUMERIC
// columns keep it.
struct ScaledInt {
    qint64 value = 0;
    int scale = 0;
};

using ParamValue = std::variant<std::monostate, QByteArray, qint64, double, QDateTime, ScaledInt>;

// A text travels with a 16-bit length: a longer one is refused, never cut.
constexpr qsizetype kMaxParamBytes = 65535;
Error paramTooLong(const QString& name);

struct InputMessage {
    std::unique_ptr<Firebird::IMessageMetadata, Released> meta;
    std::vector<unsigned char> data;
};

// `described` is the statement's own input metadata (a text value takes the
// character set of a text parameter). The first call that fails throws its
// fb::Error; nothing is built from what a failed call returned.
InputMessage buildInput(Firebird::IMessageMetadata* described, const std::vector<const ParamValue*>& values);

}  // namespace fb
