#include "fb/InputMessage.h"

#include "fb/Error.h"

#include <algorithm>
#include <cstring>

namespace fb {

using namespace Firebird;

namespace {

// ISC_DATE counts days from 17.11.1858; ISC_TIME in 1/10000 s.
ISC_DATE toIscDate(const QDate& d) { return ISC_DATE(d.toJulianDay() - 2400001); }
ISC_TIME toIscTime(const QTime& t) { return ISC_TIME(t.msecsSinceStartOfDay()) * 10; }

bool isTextType(unsigned t) { return t == SQL_VARYING || t == SQL_TEXT; }

}  // namespace

Error paramTooLong(const QString& name) {
    return Error(QStringLiteral("Значение параметра «%1» длиннее 65 535 байт и не может быть передано базе данных.")
                     .arg(name));
}

InputMessage buildInput(IMessageMetadata* described, const std::vector<const ParamValue*>& values) {
    ThrowStatus st;
    const auto count = unsigned(values.size());
    std::unique_ptr<IMetadataBuilder, Released> builder(client().master->getMetadataBuilder(st.get(), count));
    for (unsigned i = 0; i < count; ++i) {
        const ParamValue& v = *values[i];
        if (const auto* s = std::get_if<QByteArray>(&v)) {
            if (s->size() > kMaxParamBytes) throw paramTooLong(QString::number(i + 1));
            builder->setType(st.get(), i, SQL_VARYING + 1);
            builder->setLength(st.get(), i, unsigned(std::max<qsizetype>(1, s->size())));
            const unsigned dt = described->getType(st.get(), i) & ~1u;
            builder->setCharSet(st.get(), i, isTextType(dt) ? described->getCharSet(st.get(), i) : 0);
        } else if (std::holds_alternative<qint64>(v)) {
            builder->setType(st.get(), i, SQL_INT64 + 1);
            builder->setLength(st.get(), i, sizeof(ISC_INT64));
            builder->setScale(st.get(), i, 0);
        } else if (const auto* sc = std::get_if<ScaledInt>(&v)) {
            builder->setType(st.get(), i, SQL_INT64 + 1);
            builder->setLength(st.get(), i, sizeof(ISC_INT64));
            builder->setScale(st.get(), i, sc->scale);
        } else if (std::holds_alternative<double>(v)) {
            builder->setType(st.get(), i, SQL_DOUBLE + 1);
            builder->setLength(st.get(), i, sizeof(double));
        } else if (std::holds_alternative<QDateTime>(v)) {
            builder->setType(st.get(), i, SQL_TIMESTAMP + 1);
            builder->setLength(st.get(), i, sizeof(ISC_TIMESTAMP));
        } else {
            builder->setType(st.get(), i, SQL_VARYING + 1);
            builder->setLength(st.get(), i, 1);
            builder->setCharSet(st.get(), i, 0);
        }
    }
    InputMessage in;
    in.meta.reset(builder->getMetadata(st.get()));
    in.data.resize(std::max(1u, in.meta->getMessageLength(st.get())));
    unsigned char* msg = in.data.data();
    for (unsigned i = 0; i < count; ++i) {
        const unsigned off = in.meta->getOffset(st.get(), i);
        const unsigned nullOff = in.meta->getNullOffset(st.get(), i);
        const ParamValue& v = *values[i];
        short null = 0;
        if (const auto* s = std::get_if<QByteArray>(&v)) {
            const auto n = static_cast<unsigned short>(s->size());
            std::memcpy(msg + off, &n, 2);
            std::memcpy(msg + off + 2, s->constData(), n);
        } else if (const auto* i64 = std::get_if<qint64>(&v)) {
            std::memcpy(msg + off, i64, sizeof *i64);
        } else if (const auto* sc = std::get_if<ScaledInt>(&v)) {
            std::memcpy(msg + off, &sc->value, sizeof sc->value);
        } else if (const auto* d = std::get_if<double>(&v)) {
            std::memcpy(msg + off, d, sizeof *d);
        } else if (const auto* dt = std::get_if<QDateTime>(&v)) {
            const ISC_TIMESTAMP ts{toIscDate(dt->date()), toIscTime(dt->time())};
            std::memcpy(msg + off, &ts, sizeof ts);
        } else {
            null = -1;
        }
        std::memcpy(msg + nullOff, &null, sizeof null);
    }
    return in;
}

}  // namespace fb
