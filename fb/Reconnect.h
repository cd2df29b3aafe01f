#pragma once
// Riding out a lost server. When the server goes away (stopped, restarted,
// the network down), every handle of the attachment is dead. The program
// then attaches again by itself, at the next statement, trying for a short
// while; the transactions start anew on the new attachment and every
// statement is prepared again (Query keeps them per Connection::serial()).
//
// A database file opened by the embedded engine is never re-attached: there
// the same errors mean the program itself is ending.
#include <functional>

namespace fb {

class Connection;
class Error;

// The error says the attachment is gone (network errors, "connection
// shutdown", the server's shutdown) and `db` is a server's database.
bool isConnectionLost(const Connection& db, const Error& error);
// The same by the error's codes alone, whatever the engine.
bool hasLostCodes(const Error& error);

struct ReconnectPolicy {
    int waitMs = 8000;   // how long the server may stay away
    int pauseMs = 400;   // between two attempts
    // Told true before each pause (the server is away), false once it is
    // over either way. Must not run statements or events.
    std::function<void(bool waiting)> waiting;
    // Called on the new attachment, before the statement that needed it.
    std::function<void()> reattached;
};
ReconnectPolicy& reconnectPolicy();

// Drops the dead attachment and its transactions' handles, then attaches
// again, retrying while the server cannot be reached and the policy's time
// lasts. Throws the last attach error when it does not come back (the
// connection stays marked lost, so the next statement tries again).
void reattach(Connection& db);

}  // namespace fb
