#include "fb/Connection.h"

#include "fb/Client.h"
#include "fb/Error.h"
#include "fb/ServerPath.h"
#include "fb/Transaction.h"

#include <memory>

namespace fb {

namespace {

const char* const kWireCrypt = "WireCrypt = Required";

using Dpb = std::unique_ptr<Firebird::IXpbBuilder, Disposed>;

Dpb buildDpb(ThrowStatus& st, const Connection& c, bool creating) {
    using Firebird::IXpbBuilder;
    Dpb dpb(client().util->getXpbBuilder(st.get(), IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(st.get(), isc_dpb_user_name, c.userName.toUtf8().constData());
    dpb->insertString(st.get(), isc_dpb_password, c.password.toUtf8().constData());
    dpb->insertInt(st.get(), isc_dpb_sql_dialect, c.dialect);
    if (!c.role.isEmpty()) dpb->insertString(st.get(), isc_dpb_sql_role_name, c.role.toUtf8().constData());
    // Logins and data cross the network only encrypted: a server that does
    // not encrypt is refused.
    if (Connection::isRemotePath(c.databaseName)) dpb->insertString(st.get(), isc_dpb_config, kWireCrypt);
    if (creating) {
        dpb->insertInt(st.get(), isc_dpb_page_size, 8192);
        dpb->insertString(st.get(), isc_dpb_set_db_charset, "WIN1251");
    }
    return dpb;
}

// Attaches to (or creates) the database; the builder is disposed on every path.
Firebird::IAttachment* attach(const Connection& c, bool creating) {
    ThrowStatus st;
    const Dpb dpb = buildDpb(st, c, creating);
    const unsigned length = dpb->getBufferLength(st.get());
    const unsigned char* buffer = dpb->getBuffer(st.get());
    const QByteArray path = c.databaseName.toLocal8Bit();
    Firebird::IProvider* provider = client().provider;
    return creating ? provider->createDatabase(st.get(), path.constData(), length, buffer)
                    : provider->attachDatabase(st.get(), path.constData(), length, buffer);
}

}  // namespace

Connection::~Connection() {
    if (att_) {
        endReads();
        Status st;
        att_->detach(st.get());
        if (st.failed()) att_->release();
    }
}

void Connection::open() {
    if (att_) return;
    ++serial_;
    att_ = attach(*this, false);
    lost_ = false;
}

void Connection::create() {
    if (att_) throw Error(QStringLiteral("The connection is already open."));
    ++serial_;
    att_ = attach(*this, true);
}

void Connection::endReads() {
    for (Transaction* tr : transactions_) tr->endRead();
}

void Connection::close() {
    if (!att_) return;
    endReads();
    Status st;
    att_->detach(st.get());
    if (st.failed()) {
        // A lost server: drop the handle all the same.
        att_->release();
        att_ = nullptr;
        st.check();
    }
    att_ = nullptr;
}

bool Connection::isRemotePath(const QString& path) {
    return ServerPath::parse(path).remote();
}

}  // namespace fb
