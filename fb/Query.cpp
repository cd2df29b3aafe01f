#include "fb/Query.h"

#include "fb/Client.h"
#include "fb/Connection.h"
#include "fb/Cp1251.h"
#include "fb/Error.h"
#include "fb/Transaction.h"

#include <cstring>
#include <memory>

namespace fb {

using namespace Firebird;

namespace {

// ISC_DATE counts days from 17.11.1858; ISC_TIME in 1/10000 s.
ISC_DATE toIscDate(const QDate& d) { return ISC_DATE(d.toJulianDay() - 2400001); }
ISC_TIME toIscTime(const QTime& t) { return ISC_TIME(t.msecsSinceStartOfDay()) * 10; }

bool isTextType(unsigned t) { return t == SQL_VARYING || t == SQL_TEXT; }

struct Released {
    void operator()(IReferenceCounted* p) const { if (p) p->release(); }
};
template <class T> using Ref = std::unique_ptr<T, Released>;

}  // namespace

// ---- Field ---------------------------------------------------------------

QString Field::asString() const { return q_->rows_.text(q_->cur_, col_); }
int Field::asInteger() const { return int(q_->rows_.integer(q_->cur_, col_)); }
qint64 Field::asInt64() const { return q_->rows_.integer(q_->cur_, col_); }
double Field::asFloat() const { return q_->rows_.number(q_->cur_, col_); }
QDate Field::asDate() const { return q_->rows_.date(q_->cur_, col_); }
QDateTime Field::asDateTime() const { return q_->rows_.dateTime(q_->cur_, col_); }
bool Field::isNull() const { return q_->rows_.isNull(q_->cur_, col_); }

// ---- Query ---------------------------------------------------------------

Query::Query(Connection* db, Transaction* tr) : db_(db), tr_(tr) {}

Query::~Query() {
    for (const Prepared& p : prepared_) drop(p);
}

void Query::drop(const Prepared& p) {
    Status st;
    p.stmt->free(st.get());
    if (st.get()->getState() & IStatus::STATE_ERRORS) p.stmt->release();
}

void Query::clearSQL() { setSQL({}); }

void Query::freeStatements() {
    close();
    stmt_ = nullptr;
    for (const Prepared& p : prepared_) drop(p);
    prepared_.clear();
}

void Query::addSQL(const QString& line) {
    QStringList l = lines_;
    l << line;
    setSQL(l);
}

void Query::setSQL(const QStringList& lines) {
    close();
    lines_ = lines;
    translated_ = translateParams(text());
    values_.clear();
    stmt_ = nullptr;  // still prepared, for when the same text comes back
}

int Query::paramIndex(const QString& name) const { return int(translated_.names.indexOf(name.toUpper())); }

void Query::setValue(const QString& name, Value v) {
    const QString key = name.toUpper();
    if (!translated_.names.contains(key))
        throw Error(QStringLiteral("Parameter '%1' not found").arg(name));
    values_.insert(key, std::move(v));
}

void Query::setString(const QString& name, const QString& value) { setValue(name, toCp1251(value)); }
void Query::setInteger(const QString& name, qint64 value) { setValue(name, value); }
void Query::setFloat(const QString& name, double value) { setValue(name, value); }
void Query::setDateTime(const QString& name, const QDateTime& value) {
    if (!value.isValid()) return setNull(name);
    setValue(name, value);
}
void Query::setNull(const QString& name) { setValue(name, std::monostate{}); }
void Query::clearParams() { values_.clear(); }

void Query::prepare() {
    if (stmt_) return;
    if (!db_ || !db_->connected()) throw Error(QStringLiteral("Database not assigned"));
    IAttachment* att = db_->handle();
    const unsigned long long serial = db_->serial();
    // Statements of an earlier attachment are gone with it.
    for (auto it = prepared_.begin(); it != prepared_.end();) {
        if (it->serial == serial) {
            ++it;
            continue;
        }
        drop(*it);
        it = prepared_.erase(it);
    }
    for (auto it = prepared_.begin(); it != prepared_.end(); ++it)
        if (it->sql == translated_.sql) {
            const Prepared p = *it;
            prepared_.erase(it);
            prepared_.push_back(p);  // the most recently used is last
            stmt_ = p.stmt;
            return;
        }
    ITransaction* tra = tr_->forRead();
    const QByteArray sql = toCp1251(translated_.sql);
    Status st;
    IStatement* stmt = att->prepare(st.get(), tra, unsigned(sql.size()), sql.constData(), unsigned(db_->dialect),
                                    IStatement::PREPARE_PREFETCH_METADATA);
    st.check();
    if (prepared_.size() >= kPreparedKept) {
        drop(prepared_.front());
        prepared_.erase(prepared_.begin());
    }
    prepared_.push_back({translated_.sql, stmt, serial});
    stmt_ = stmt;
}

void Query::open() { run(true); }
void Query::open(const QStringList& columns) { run(true, columns); }
void Query::execSQL() { run(false); }

void Query::close() {
    open_ = false;
    rows_.clear();
    cur_ = 0;
}

RowSet Query::takeRows() {
    RowSet rows = std::move(rows_);
    close();
    return rows;
}

void Query::run(bool wantRows, const QStringList& keep) {
    close();
    prepare();
    Status st;
    const unsigned type = stmt_->getType(st.get());
    st.check();
    // A plain select reads; everything else writes.
    ITransaction* tra = type == isc_info_sql_stmt_select ? tr_->forRead() : tr_->ensure();

    // Input message in our own types; the engine converts to the described ones.
    const unsigned count = unsigned(translated_.names.size());
    Ref<IMessageMetadata> described(stmt_->getInputMetadata(st.get()));
    st.check();
    Ref<IMetadataBuilder> builder(client().master->getMetadataBuilder(st.get(), count));
    st.check();
    std::vector<const Value*> vals(count);
    static const Value kNullValue;
    for (unsigned i = 0; i < count; ++i) {
        auto it = values_.constFind(translated_.names[int(i)]);
        const Value& v = it == values_.constEnd() ? kNullValue : *it;
        vals[i] = &v;
        if (const auto* s = std::get_if<QByteArray>(&v)) {
            builder->setType(st.get(), i, SQL_VARYING + 1);
            builder->setLength(st.get(), i, unsigned(std::max<qsizetype>(1, s->size())));
            const unsigned dt = described->getType(st.get(), i) & ~1u;
            builder->setCharSet(st.get(), i, isTextType(dt) ? described->getCharSet(st.get(), i) : 0);
        } else if (std::holds_alternative<qint64>(v)) {
            builder->setType(st.get(), i, SQL_INT64 + 1);
            builder->setLength(st.get(), i, sizeof(ISC_INT64));
            builder->setScale(st.get(), i, 0);
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
        st.check();
    }
    Ref<IMessageMetadata> inMeta(builder->getMetadata(st.get()));
    st.check();
    const unsigned inLen = inMeta->getMessageLength(st.get());
    std::vector<unsigned char> in(std::max(1u, inLen));
    for (unsigned i = 0; i < count; ++i) {
        const unsigned off = inMeta->getOffset(st.get(), i);
        auto* nullFlag = reinterpret_cast<short*>(in.data() + inMeta->getNullOffset(st.get(), i));
        const Value& v = *vals[i];
        *nullFlag = 0;
        if (const auto* s = std::get_if<QByteArray>(&v)) {
            const auto n = static_cast<unsigned short>(s->size());
            std::memcpy(in.data() + off, &n, 2);
            std::memcpy(in.data() + off + 2, s->constData(), n);
        } else if (const auto* i64 = std::get_if<qint64>(&v)) {
            std::memcpy(in.data() + off, i64, sizeof *i64);
        } else if (const auto* d = std::get_if<double>(&v)) {
            std::memcpy(in.data() + off, d, sizeof *d);
        } else if (const auto* dt = std::get_if<QDateTime>(&v)) {
            ISC_TIMESTAMP ts{toIscDate(dt->date()), toIscTime(dt->time())};
            std::memcpy(in.data() + off, &ts, sizeof ts);
        } else {
            *nullFlag = -1;
        }
    }
    st.check();

    if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd) {
        Ref<IMessageMetadata> outMeta(stmt_->getOutputMetadata(st.get()));
        st.check();
        rows_.reset(outMeta.get(), keep);
        IResultSet* rs = stmt_->openCursor(st.get(), tra, inMeta.get(), in.data(), outMeta.get(), 0);
        st.check();
        std::vector<unsigned char> out(outMeta->getMessageLength(st.get()));
        try {
            while (rs->fetchNext(st.get(), out.data()) == IStatus::RESULT_OK) rows_.append(out.data());
            st.check();
        } catch (...) {
            Status st2;
            rs->close(st2.get());
            if (st2.get()->getState() & IStatus::STATE_ERRORS) rs->release();
            rows_.clear();
            throw;
        }
        rs->close(st.get());
        if (st.get()->getState() & IStatus::STATE_ERRORS) rs->release();
        st.check();
        affected_ = 0;
        open_ = wantRows;
        if (!wantRows) rows_.clear();
    } else {
        // Statements with a result row (EXECUTE PROCEDURE, RETURNING) keep it.
        Ref<IMessageMetadata> outMeta(stmt_->getOutputMetadata(st.get()));
        st.check();
        const unsigned outCount = outMeta->getCount(st.get());
        std::vector<unsigned char> out(std::max(1u, outMeta->getMessageLength(st.get())));
        stmt_->execute(st.get(), tra, inMeta.get(), in.data(), outCount ? outMeta.get() : nullptr,
                       outCount ? out.data() : nullptr);
        st.check();
        affected_ = int(stmt_->getAffectedRecords(st.get()));
        st.clear();
        if (outCount) {
            rows_.reset(outMeta.get());
            rows_.append(out.data());
            open_ = wantRows;
        }
    }
    cur_ = 0;
}

Field Query::field(const QString& name) const {
    const int c = rows_.indexOf(name);
    if (c < 0) {
        if (!rows_.columnCount() && !open_)
            throw Error(QStringLiteral("Field '%1' not found: the query is not open").arg(name));
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    }
    return Field(this, c);
}

}  // namespace fb
