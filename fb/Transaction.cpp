#include "fb/Transaction.h"

#include "fb/Client.h"
#include "fb/Connection.h"
#include "fb/Error.h"

namespace fb {

Transaction::~Transaction() {
    if (tr_) {
        Status st;
        tr_->rollback(st.get());
        if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) tr_->release();
    }
}

void Transaction::start() {
    if (tr_) return;
    if (!db_ || !db_->connected()) throw Error(QStringLiteral("Database not assigned"));
    static const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_nowait,
                                        isc_tpb_read_committed, isc_tpb_rec_version};
    Status st;
    tr_ = db_->handle()->startTransaction(st.get(), sizeof tpb, tpb);
    if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) tr_ = nullptr;
    st.check();
}

void Transaction::commit() {
    if (!tr_) return;
    Status st;
    tr_->commit(st.get());
    if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) {
        // The work stays uncommitted: undo it so that the next statement
        // starts clean, then report the engine's text.
        Status st2;
        tr_->rollback(st2.get());
        if (st2.get()->getState() & Firebird::IStatus::STATE_ERRORS) tr_->release();
        tr_ = nullptr;
        st.check();
    }
    tr_ = nullptr;
}

void Transaction::rollback() {
    if (!tr_) return;
    Status st;
    tr_->rollback(st.get());
    if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) tr_->release();
    tr_ = nullptr;
    st.check();
}

Firebird::ITransaction* Transaction::ensure() {
    start();
    return tr_;
}

}  // namespace fb
