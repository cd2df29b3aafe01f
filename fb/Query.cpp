#include "fb/Query.h"

#include "fb/Client.h"
#include "fb/Connection.h"
#include "fb/Cp1251.h"
#include "fb/Error.h"
#include "fb/Reconnect.h"
#include "fb/Transaction.h"

#include <memory>

namespace fb {

using namespace Firebird;

namespace {

template <class T> using Ref = std::unique_ptr<T, Released>;

}  // namespace

// ---- Field ---------------------------------------------------------------

QString Field::asString() const { return q_->rows_.text(q_->cur_, col_); }
int Field::asInteger() const { return int(q_->rows_.integer(q_->cur_, col_)); }
qint64 Field::asInt64() const { return q_->rows_.integer(q_->cur_, col_); }
double Field::asFloat() const { return q_->rows_.number(q_->cur_, col_); }
qint64 Field::asScaled(int scale) const { return q_->rows_.scaledInteger(q_->cur_, col_, scale); }
bool Field::isNull() const { return q_->rows_.isNull(q_->cur_, col_); }

// ---- Query ---------------------------------------------------------------

Query::Query(Connection* db, Transaction* tr) : db_(db), tr_(tr) {}

Query::~Query() {
    for (const Prepared& p : prepared_) drop(p);
}

void Query::drop(const Prepared& p) {
    Status st;
    p.stmt->free(st.get());
    if (st.failed()) p.stmt->release();
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

void Query::setString(const QString& name, const QString& value) {
    QByteArray bytes = toCp1251(value);
    if (bytes.size() > kMaxParamBytes) throw paramTooLong(name);
    setValue(name, std::move(bytes));
}
void Query::setInteger(const QString& name, qint64 value) { setValue(name, value); }
void Query::setFloat(const QString& name, double value) { setValue(name, value); }
void Query::setScaled(const QString& name, qint64 value, int scale) { setValue(name, ScaledInt{value, scale}); }
void Query::setDateTime(const QString& name, const QDateTime& value) {
    if (!value.isValid()) return setNull(name);
    setValue(name, value);
}
void Query::setNull(const QString& name) { setValue(name, std::monostate{}); }
void Query::clearParams() { values_.clear(); }

void Query::prepare() {
    if (stmt_ && db_ && stmtSerial_ == db_->serial()) return;
    stmt_ = nullptr;
    if (!db_ || !db_->connected()) throw Error(QStringLiteral("Database not assigned"));
    IAttachment* att = db_->handle();
    const unsigned long long serial = db_->serial();
    stmtSerial_ = serial;
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

qint64 affectedRows(IStatement* stmt) {
    Status st;
    const ISC_UINT64 n = stmt->getAffectedRecords(st.get());
    if (st.failed()) {
        const Error e = Error::fromStatus(st.get());
        throw Error(QStringLiteral("Не удалось узнать, сколько строк изменено: %1").arg(e.text()), e.codes());
    }
    return qint64(n);
}

int Query::rowsAffected() const {
    if (countError_) throw *countError_;
    return affected_;
}

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
    if (db_ && db_->lost()) reattach(*db_);
    // With no write transaction under way, nothing of a write can die with
    // the attachment: the statement may simply run again on a new one.
    const bool fresh = tr_ && !tr_->active();
    try {
        runOnce(wantRows, keep);
    } catch (const Error& e) {
        if (!db_ || !isConnectionLost(*db_, e)) throw;
        db_->markLost();
        if (!fresh) throw;  // the work of the transaction went with the server
        reattach(*db_);
        runOnce(wantRows, keep);
    }
}

void Query::runOnce(bool wantRows, const QStringList& keep) {
    close();
    affected_ = 0;
    countError_.reset();
    prepare();
    ThrowStatus st;
    const unsigned type = stmt_->getType(st.get());
    // A plain select reads; everything else writes.
    ITransaction* tra = type == isc_info_sql_stmt_select ? tr_->forRead() : tr_->ensure();

    // Input message in our own types; the engine converts to the described ones.
    const unsigned count = unsigned(translated_.names.size());
    std::vector<const Value*> vals(count);
    static const Value kNullValue;
    for (unsigned i = 0; i < count; ++i) {
        auto it = values_.constFind(translated_.names[int(i)]);
        vals[i] = it == values_.constEnd() ? &kNullValue : &*it;
    }
    Ref<IMessageMetadata> described(stmt_->getInputMetadata(st.get()));
    InputMessage in = buildInput(described.get(), vals);
    IMessageMetadata* inMeta = in.meta.get();
    unsigned char* inData = in.data.data();

    if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd) {
        Ref<IMessageMetadata> outMeta(stmt_->getOutputMetadata(st.get()));
        rows_.reset(outMeta.get(), keep);
        std::vector<unsigned char> out(outMeta->getMessageLength(st.get()));
        IResultSet* rs = stmt_->openCursor(st.get(), tra, inMeta, inData, outMeta.get(), 0);
        try {
            while (rs->fetchNext(st.get(), out.data()) == IStatus::RESULT_OK) rows_.append(out.data());
        } catch (...) {
            Status st2;
            rs->close(st2.get());
            if (st2.failed()) rs->release();
            rows_.clear();
            throw;
        }
        Status closing;
        rs->close(closing.get());
        if (closing.failed()) rs->release();
        closing.check();
        affected_ = 0;
        open_ = wantRows;
        if (!wantRows) rows_.clear();
    } else {
        // Statements with a result row (EXECUTE PROCEDURE, RETURNING) keep it.
        Ref<IMessageMetadata> outMeta(stmt_->getOutputMetadata(st.get()));
        const unsigned outCount = outMeta->getCount(st.get());
        std::vector<unsigned char> out(std::max(1u, outMeta->getMessageLength(st.get())));
        stmt_->execute(st.get(), tra, inMeta, inData, outCount ? outMeta.get() : nullptr,
                       outCount ? out.data() : nullptr);
        // The count is asked for only by some callers: a count the engine
        // could not give fails there, not here, and never reads as 0.
        try {
            affected_ = int(affectedRows(stmt_));
        } catch (const Error& e) {
            countError_ = e;
        }
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
