#include "fb/Connection.h"

#include "fb/Client.h"
#include "fb/Error.h"
#include "fb/Transaction.h"

#include <QRegularExpression>

namespace fb {

namespace {

Firebird::IXpbBuilder* buildDpb(Status& st, const Connection& c, bool creating) {
    using Firebird::IXpbBuilder;
    IXpbBuilder* dpb = client().util->getXpbBuilder(st.get(), IXpbBuilder::DPB, nullptr, 0);
    st.check();
    dpb->insertString(st.get(), isc_dpb_user_name, c.userName.toUtf8().constData());
    dpb->insertString(st.get(), isc_dpb_password, c.password.toUtf8().constData());
    dpb->insertInt(st.get(), isc_dpb_sql_dialect, c.dialect);
    if (creating) {
        dpb->insertInt(st.get(), isc_dpb_page_size, 8192);
        dpb->insertString(st.get(), isc_dpb_set_db_charset, "WIN1251");
    }
    st.check();
    return dpb;
}

}  // namespace

Connection::~Connection() {
    if (att_) {
        endReads();
        Status st;
        att_->detach(st.get());
        if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) att_->release();
    }
}

void Connection::open() {
    if (att_) return;
    Status st;
    Firebird::IXpbBuilder* dpb = buildDpb(st, *this, false);
    const QByteArray path = databaseName.toLocal8Bit();
    att_ = client().provider->attachDatabase(st.get(), path.constData(), dpb->getBufferLength(st.get()),
                                             dpb->getBuffer(st.get()));
    dpb->dispose();
    if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) att_ = nullptr;
    ++serial_;
    st.check();
}

void Connection::create() {
    if (att_) throw Error(QStringLiteral("The connection is already open."));
    Status st;
    Firebird::IXpbBuilder* dpb = buildDpb(st, *this, true);
    const QByteArray path = databaseName.toLocal8Bit();
    att_ = client().provider->createDatabase(st.get(), path.constData(), dpb->getBufferLength(st.get()),
                                             dpb->getBuffer(st.get()));
    dpb->dispose();
    if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) att_ = nullptr;
    ++serial_;
    st.check();
}

void Connection::endReads() {
    for (Transaction* tr : transactions_) tr->endRead();
}

void Connection::close() {
    if (!att_) return;
    endReads();
    Status st;
    att_->detach(st.get());
    if (st.get()->getState() & Firebird::IStatus::STATE_ERRORS) {
        // A lost server: drop the handle all the same.
        att_->release();
        att_ = nullptr;
        st.check();
    }
    att_ = nullptr;
}

bool Connection::isRemotePath(const QString& path) {
    static const QRegularExpression re(QStringLiteral("^([^:/\\\\]{2,})(/[0-9A-Za-z_-]+)?:(.+)$"));
    return re.match(path).hasMatch();
}

}  // namespace fb
