#include "fb/Transaction.h"

#include "fb/Client.h"
#include "fb/Connection.h"
#include "fb/Error.h"

namespace fb {

namespace {

// Ends a transaction whose outcome no longer matters (clean-up paths).
void discard(Firebird::ITransaction*& tr) {
    if (!tr) return;
    Status st;
    tr->rollback(st.get());
    if (st.failed()) tr->release();
    tr = nullptr;
}

Firebird::ITransaction* startWith(Connection* db, const unsigned char* tpb, unsigned length) {
    if (!db || !db->connected()) throw Error(QStringLiteral("Database not assigned"));
    Status st;
    Firebird::ITransaction* tr = db->handle()->startTransaction(st.get(), length, tpb);
    if (st.failed()) tr = nullptr;
    st.check();
    return tr;
}

Error unitFailedError() {
    return Error(QStringLiteral("Ничего не записано: не удалась часть записи, и всё записанное вместе с ней "
                                "отменено."));
}

}  // namespace

Transaction::Transaction(Connection* db) : db_(db) {
    if (db_) db_->addTransaction(this);
}

Transaction::~Transaction() {
    discard(tr_);
    discard(read_);
    if (db_) db_->removeTransaction(this);
}

void Transaction::start() {
    if (tr_) return;
    static const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_nowait,
                                        isc_tpb_read_committed, isc_tpb_rec_version};
    tr_ = startWith(db_, tpb, sizeof tpb);
}

void Transaction::commit() {
    if (!tr_ || units_ > 0) return;
    Status st;
    tr_->commit(st.get());
    if (st.failed()) {
        // The work stays uncommitted: undo it so that the next statement
        // starts clean, then report the engine's text.
        discard(tr_);
        st.check();
    }
    tr_ = nullptr;
}

void Transaction::rollback() {
    if (!tr_) return;
    Status st;
    tr_->rollback(st.get());
    if (st.failed()) tr_->release();
    tr_ = nullptr;
    st.check();
}

Firebird::ITransaction* Transaction::ensure() {
    if (unitFailed_) throw unitFailedError();
    start();
    return tr_;
}

Firebird::ITransaction* Transaction::forRead() {
    // After a failed inner unit there is nothing of the unit left to see.
    if (!unitFailed_ && (tr_ || units_ > 0)) return ensure();
    if (read_ && readSerial_ != db_->serial()) {
        // Started on an earlier attachment, which took it along.
        read_->release();
        read_ = nullptr;
    }
    if (!read_) {
        static const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_nowait,
                                            isc_tpb_read_committed, isc_tpb_rec_version};
        read_ = startWith(db_, tpb, sizeof tpb);
        readSerial_ = db_->serial();
    }
    return read_;
}

void Transaction::endRead() {
    if (!read_) return;
    Status st;
    read_->commit(st.get());
    if (st.failed()) discard(read_);
    read_ = nullptr;
}

void Transaction::forgetLost() {
    discard(read_);
    if (units_ == 0) discard(tr_);
}

void Transaction::beginUnit() {
    // Whatever ran before the unit is not part of it.
    if (units_ == 0) commit();
    ++units_;
}

void Transaction::endUnit() {
    if (units_ == 0) return;
    // Left open: the unit's destructor counts it off as it rolls back.
    if (unitFailed_) throw unitFailedError();
    if (--units_ == 0) commit();
}

void Transaction::abandonUnit() {
    if (units_ == 0) return;
    discard(tr_);
    // An inner unit's failure dooms the outer ones: the work they did before
    // is rolled back with it.
    unitFailed_ = --units_ > 0;
}

WriteUnit::~WriteUnit() {
    if (!done_) tr_.abandonUnit();
}

void WriteUnit::commit() {
    if (done_) return;
    tr_.endUnit();
    done_ = true;
}

}  // namespace fb
