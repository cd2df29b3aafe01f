#include "fb/Reconnect.h"

#include "fb/Client.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Transaction.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace fb {

namespace {

// The client's and the server's words for an attachment that is gone.
constexpr long kLostCodes[] = {isc_network_error,   isc_net_connect_err, isc_net_read_err,
                               isc_net_write_err,   isc_conn_lost,       isc_lost_db_connection,
                               isc_att_shutdown,    isc_shutdown,        isc_shutinprog,
                               isc_net_server_shutdown};

}  // namespace

bool hasLostCodes(const Error& error) {
    return std::any_of(std::begin(kLostCodes), std::end(kLostCodes), [&](long c) { return error.hasCode(c); });
}

bool isConnectionLost(const Connection& db, const Error& error) {
    return Connection::isRemotePath(db.databaseName) && hasLostCodes(error);
}

ReconnectPolicy& reconnectPolicy() {
    static ReconnectPolicy policy;
    return policy;
}

void reattach(Connection& db) {
    db.markLost();
    for (Transaction* tr : db.transactions()) tr->forgetLost();
    try {
        db.close();
    } catch (const Error&) {
        // The detach of a dead attachment fails; its handle is gone all the same.
    }
    const ReconnectPolicy& policy = reconnectPolicy();
    QElapsedTimer clock;
    clock.start();
    bool waited = false;
    auto done = [&] {
        if (waited && policy.waiting) policy.waiting(false);
    };
    for (;;) {
        try {
            db.open();
            break;
        } catch (const Error& e) {
            // A wrong password or a missing file does not go away by waiting.
            if (!hasLostCodes(e) || clock.elapsed() + policy.pauseMs > policy.waitMs) {
                done();
                throw;
            }
        }
        waited = true;
        if (policy.waiting) policy.waiting(true);
        QThread::msleep(unsigned(policy.pauseMs));
    }
    done();
    if (policy.reattached) policy.reattached();
}

}  // namespace fb
