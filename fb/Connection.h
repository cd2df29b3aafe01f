#pragma once
// One attachment to a database file, local (embedded engine) or through a
// server ("host[/port]:path").
#include "fb/Login.h"

#include <QString>

#include <vector>

namespace Firebird { class IAttachment; }

namespace fb {

class Transaction;

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QString databaseName;
    QString userName = defaultLogin().user;
    QString password = defaultLogin().password;
    // The SQL role the attachment works under (the server's grants to it
    // apply); empty for none.
    QString role = defaultLogin().role;
    int dialect = 3;

    void open();   // attach; throws fb::Error with the engine's text
    void close();  // detach (the program itself never does)
    bool connected() const { return att_ != nullptr; }

    // Creates a new, empty database (character set WIN1251) and attaches to it.
    void create();

    Firebird::IAttachment* handle() const { return att_; }
    // Changes with every attach: what was prepared on an earlier one is gone.
    unsigned long long serial() const { return serial_; }

    // "host:path" or "host/port:path" with a host of two or more characters;
    // "C:\dir\file.fdb" stays a local path.
    static bool isRemotePath(const QString& path);

    // The transactions on this connection end their reading before a detach.
    void addTransaction(Transaction* tr) { transactions_.push_back(tr); }
    void removeTransaction(Transaction* tr) { std::erase(transactions_, tr); }
    const std::vector<Transaction*>& transactions() const { return transactions_; }

    // The server dropped the attachment (fb/Reconnect.h): the next statement
    // attaches again first. open() clears the mark.
    void markLost() { lost_ = true; }
    bool lost() const { return lost_; }

private:
    void endReads();

    std::vector<Transaction*> transactions_;
    Firebird::IAttachment* att_ = nullptr;
    unsigned long long serial_ = 0;
    bool lost_ = false;
};

}  // namespace fb
