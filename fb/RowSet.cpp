#include "fb/RowSet.h"

#include "fb/Client.h"
#include "fb/Cp1251.h"
#include "fb/Error.h"
#include "rtl/Convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace fb {

namespace {

// ISC_DATE counts days from 17.11.1858 (Julian day 2400001).
constexpr qint64 kIscDateBase = 2400001;

QDate iscDate(std::int32_t d) { return QDate::fromJulianDay(d + kIscDateBase); }
QTime iscTime(std::uint32_t t) { return QTime::fromMSecsSinceStartOfDay(int(t / 10)); }

// The packed bytes keep no alignment: a number is copied out, never read in place.
template <class T> T load(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

double scaled(qint64 v, int scale) { return scale ? double(v) * std::pow(10.0, scale) : double(v); }

}  // namespace

RowSet::RowSet(RowSet&& o) noexcept
    : cols_(std::move(o.cols_)), byName_(std::move(o.byName_)), data_(std::move(o.data_)),
      offsets_(std::move(o.offsets_)), rows_(o.rows_) {
    o.clear();
}

RowSet& RowSet::operator=(RowSet&& o) noexcept {
    if (this != &o) {
        cols_ = std::move(o.cols_);
        byName_ = std::move(o.byName_);
        data_ = std::move(o.data_);
        offsets_ = std::move(o.offsets_);
        rows_ = o.rows_;
        o.clear();
    }
    return *this;
}

void RowSet::reset(Firebird::IMessageMetadata* meta, const QStringList& keep) {
    clear();
    ThrowStatus st;
    const unsigned n = meta->getCount(st.get());
    std::vector<Column> all(n);
    for (unsigned i = 0; i < n; ++i) {
        Column& c = all[i];
        c.name = QString::fromLatin1(meta->getAlias(st.get(), i)).trimmed();
        if (c.name.isEmpty()) c.name = QString::fromLatin1(meta->getField(st.get(), i)).trimmed();
        c.type = meta->getType(st.get(), i) & ~1u;
        c.scale = meta->getScale(st.get(), i);
        c.length = meta->getLength(st.get(), i);
        c.offset = meta->getOffset(st.get(), i);
        c.nullOffset = meta->getNullOffset(st.get(), i);
    }
    std::vector<Column> kept;
    for (const QString& name : keep) {
        const QString key = name.toUpper();
        auto it = std::find_if(all.begin(), all.end(), [&key](const Column& c) { return c.name.toUpper() == key; });
        if (it == all.end()) throw Error(QStringLiteral("Field '%1' not found").arg(name));
        kept.push_back(*it);
    }
    cols_ = keep.isEmpty() ? std::move(all) : std::move(kept);
    for (size_t i = 0; i < cols_.size(); ++i) {
        const QString key = cols_[i].name.toUpper();
        if (!byName_.contains(key)) byName_.insert(key, int(i));
    }
}

void RowSet::clear() {
    cols_.clear();
    byName_.clear();
    data_.clear();
    data_.shrink_to_fit();
    offsets_.clear();
    offsets_.shrink_to_fit();
    rows_ = 0;
}

void RowSet::append(const unsigned char* msg) {
    for (const Column& c : cols_) {
        if (load<short>(msg + c.nullOffset)) {
            offsets_.push_back(kNull);
            continue;
        }
        offsets_.push_back(std::uint32_t(data_.size()));
        const unsigned char* v = msg + c.offset;
        size_t len = c.length;
        if (c.type == SQL_VARYING) len = 2 + load<unsigned short>(v);
        data_.insert(data_.end(), v, v + len);
    }
    ++rows_;
}

int RowSet::indexOf(const QString& name) const { return byName_.value(name.toUpper(), -1); }

const unsigned char* RowSet::at(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= columnCount()) return nullptr;
    const std::uint32_t off = offsets_[size_t(row) * cols_.size() + size_t(col)];
    return off == kNull ? nullptr : data_.data() + off;
}

bool RowSet::isNull(int row, int col) const { return at(row, col) == nullptr; }

QString RowSet::text(int row, int col) const {
    const unsigned char* v = at(row, col);
    if (!v) return QString();
    const Column& c = cols_[size_t(col)];
    switch (c.type) {
    case SQL_VARYING:
        return fromCp1251(reinterpret_cast<const char*>(v + 2), load<unsigned short>(v));
    case SQL_TEXT:
        return fromCp1251(reinterpret_cast<const char*>(v), c.length);
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        if (c.scale == 0) return QString::number(integer(row, col));
        return rtl::FloatToStr(number(row, col));
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return rtl::FloatToStr(number(row, col));
    case SQL_TYPE_DATE:
        return rtl::DateToStr(iscDate(load<std::int32_t>(v)));
    case SQL_TYPE_TIME:
        return rtl::TimeToStr(iscTime(load<std::uint32_t>(v)));
    case SQL_TIMESTAMP:
        return rtl::DateTimeToStr(dateTime(row, col));
    case SQL_BOOLEAN:
        return *v ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return QString();
    }
}

QByteArrayView RowSet::bytes(int row, int col) const {
    const unsigned char* v = at(row, col);
    if (!v) return {};
    const Column& c = cols_[size_t(col)];
    if (c.type == SQL_VARYING) return {reinterpret_cast<const char*>(v + 2), qsizetype(load<unsigned short>(v))};
    if (c.type == SQL_TEXT) return {reinterpret_cast<const char*>(v), qsizetype(c.length)};
    return {};
}

qint64 RowSet::integer(int row, int col) const {
    const unsigned char* v = at(row, col);
    if (!v) return 0;
    const Column& c = cols_[size_t(col)];
    switch (c.type) {
    case SQL_SHORT:
        if (c.scale) return std::llround(number(row, col));
        return load<short>(v);
    case SQL_LONG:
        if (c.scale) return std::llround(number(row, col));
        return load<std::int32_t>(v);
    case SQL_INT64:
        if (c.scale) return std::llround(number(row, col));
        return load<std::int64_t>(v);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return std::llround(number(row, col));
    case SQL_BOOLEAN:
        return *v ? 1 : 0;
    default:
        return rtl::StrToInt64(text(row, col));
    }
}

double RowSet::number(int row, int col) const {
    const unsigned char* v = at(row, col);
    if (!v) return 0;
    const Column& c = cols_[size_t(col)];
    switch (c.type) {
    case SQL_SHORT: return scaled(load<short>(v), c.scale);
    case SQL_LONG: return scaled(load<std::int32_t>(v), c.scale);
    case SQL_INT64: return scaled(load<std::int64_t>(v), c.scale);
    case SQL_FLOAT: return load<float>(v);
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return load<double>(v);
    case SQL_BOOLEAN: return *v ? 1 : 0;
    default: return rtl::StrToFloat(text(row, col));
    }
}

QDate RowSet::date(int row, int col) const {
    const unsigned char* v = at(row, col);
    if (!v) return QDate();
    const Column& c = cols_[size_t(col)];
    if (c.type == SQL_TYPE_DATE || c.type == SQL_TIMESTAMP) return iscDate(load<std::int32_t>(v));
    return dateTime(row, col).date();
}

QDateTime RowSet::dateTime(int row, int col) const {
    const unsigned char* v = at(row, col);
    if (!v) return QDateTime();
    const Column& c = cols_[size_t(col)];
    switch (c.type) {
    case SQL_TYPE_DATE:
        return QDateTime(iscDate(load<std::int32_t>(v)), QTime(0, 0));
    case SQL_TIMESTAMP: {
        return QDateTime(iscDate(load<std::int32_t>(v)), iscTime(load<std::uint32_t>(v + 4)));
    }
    default:
        return rtl::StrToDateTime(text(row, col));
    }
}

qint64 RowSet::scaledInteger(int row, int col, int scale) const {
    const unsigned char* v = at(row, col);
    if (!v) return 0;
    const Column& c = cols_[size_t(col)];
    std::int64_t raw = 0;
    switch (c.type) {
    case SQL_SHORT: raw = load<short>(v); break;
    case SQL_LONG: raw = load<std::int32_t>(v); break;
    case SQL_INT64: raw = load<std::int64_t>(v); break;
    case SQL_BOOLEAN: raw = *v ? 1 : 0; break;
    default: {
        const double d = number(row, col) * std::pow(10.0, -scale);
        if (!(std::fabs(d) < 9.2e18)) throw Error(QStringLiteral("Значение поля «%1» не помещается в 64 бита.").arg(c.name));
        return std::llrint(d);  // the default rounding mode: half to even
    }
    }
    const int colScale = (c.type == SQL_BOOLEAN) ? 0 : c.scale;
    int shift = colScale - scale;  // > 0: multiply; < 0: divide
    const Error overflow(QStringLiteral("Значение поля «%1» не помещается в 64 бита.").arg(c.name));
    for (; shift > 0; --shift) {
        if (raw > INT64_MAX / 10 || raw < INT64_MIN / 10) throw overflow;
        raw *= 10;
    }
    if (shift < 0) {
        std::int64_t div = 1;
        for (; shift < 0; ++shift) {
            if (div > INT64_MAX / 10) return 0;
            div *= 10;
        }
        std::int64_t q = raw / div, r = raw % div;
        const std::int64_t twice = (r < 0 ? -r : r) * 2;
        if (twice > div || (twice == div && (q % 2) != 0)) q += (raw < 0 ? -1 : 1);
        raw = q;
    }
    return raw;
}

}  // namespace fb
