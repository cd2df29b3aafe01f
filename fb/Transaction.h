#pragma once
// The program's transactions on one connection.
//
// Writes go through one read-write transaction: nowait, read_committed,
// rec_version. After a commit none is active; the next write starts a new one.
// A write unit (fb::WriteUnit) holds it open across several statements and
// commits them all at its end, or none. Units may nest; only the outermost
// commits. An inner unit that fails rolls everything back at once, and the
// transaction then refuses every write and the outer commits until the
// outermost unit has ended: what the outer unit wrote before is gone, so
// nothing it writes afterwards may be committed as if it were whole.
//
// Reads outside a write run on a read-only read_committed transaction that is
// kept open: the engine counts such a transaction as committed from its start,
// so an idle workstation holds back no other transaction. While the read-write
// transaction is active, reads run in it and see its own writes.
#include <vector>

namespace Firebird { class ITransaction; }

namespace fb {

class Connection;

class Transaction {
public:
    explicit Transaction(Connection* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start();
    // Commits the read-write transaction. Inside a write unit it does nothing:
    // the unit commits at its end.
    void commit();
    void rollback();
    bool active() const { return tr_ != nullptr; }
    bool inUnit() const { return units_ > 0; }
    // An inner unit failed; the outermost one has not ended yet.
    bool unitFailed() const { return unitFailed_; }
    Connection* database() const { return db_; }

    // The read-write transaction, started first when none is active. Throws
    // while a failed inner unit leaves its outer unit open.
    Firebird::ITransaction* ensure();
    // The transaction a read runs in: the read-write one while it is active,
    // otherwise the read-only one (started first when needed).
    Firebird::ITransaction* forRead();
    // Ends the read-only transaction (before a detach, or to see a fresh
    // monitoring snapshot); the next read starts another.
    void endRead();
    // The attachment died under this transaction (fb/Reconnect.h): drops
    // the handles that went with it. A write unit under way keeps its dead
    // transaction, so that the rest of the unit fails and none of it counts.
    void forgetLost();

private:
    friend class WriteUnit;
    void beginUnit();
    void endUnit();      // the outermost unit commits; throws after a failed inner one
    void abandonUnit();  // rolls everything of the outermost unit back

    Connection* db_;
    Firebird::ITransaction* tr_ = nullptr;
    Firebird::ITransaction* read_ = nullptr;
    unsigned long long readSerial_ = 0;
    int units_ = 0;
    bool unitFailed_ = false;
};

// All or nothing: every statement run on `tr` while the unit lives is
// committed by commit(), once; a unit left without commit() (an exception)
// rolls all of it back. commit() throws when a unit nested in this one failed
// (the unit then rolls back as it ends).
class WriteUnit {
public:
    explicit WriteUnit(Transaction& tr) : tr_(tr) { tr_.beginUnit(); }
    ~WriteUnit();
    WriteUnit(const WriteUnit&) = delete;
    WriteUnit& operator=(const WriteUnit&) = delete;
    void commit();

private:
    Transaction& tr_;
    bool done_ = false;
};

}  // namespace fb
