#pragma once
// The one transaction of the program: nowait, read_committed, rec_version.
// After a commit none is active; the next statement starts a new one.
namespace Firebird { class ITransaction; }

namespace fb {

class Connection;

class Transaction {
public:
    explicit Transaction(Connection* db) : db_(db) {}
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start();
    void commit();
    void rollback();
    bool active() const { return tr_ != nullptr; }
    Connection* database() const { return db_; }

    // The running transaction, started first when none is active.
    Firebird::ITransaction* ensure();

private:
    Connection* db_;
    Firebird::ITransaction* tr_ = nullptr;
};

}  // namespace fb
