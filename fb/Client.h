#pragma once
// The process-wide entry into the client library and a status wrapper that
// turns every failure into fb::Error.
#include <firebird/Interface.h>

namespace fb {

struct Client {
    Firebird::IMaster* master;
    Firebird::IProvider* provider;
    Firebird::IUtil* util;
};

const Client& client();

// A status wrapper on the stack: throws fb::Error after a failed call.
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
    Firebird::CheckStatusWrapper* get() { return &wrapper_; }
    // Throws when the last call failed.
    void check();
    // Clears the vector without throwing (for clean-up calls).
    void clear() { wrapper_.clearException(); }

private:
    Firebird::IStatus* status_;
    Firebird::CheckStatusWrapper wrapper_;
};

}  // namespace fb
