#pragma once
// The process-wide entry into the client library and the status wrappers
// that turn every failure into fb::Error.
#include <firebird/Interface.h>

namespace fb {

struct Client {
    Firebird::IMaster* master;
    Firebird::IProvider* provider;
    Firebird::IUtil* util;
};

const Client& client();

// Shuts the client library and the embedded engine down: their threads end
// here, not while the process exits (where one of them may crash it after a
// failed service run). Every attachment must be gone first; nothing of the
// library may be used afterwards.
void shutdownClient();

// Every call clears its status first, so a status checked only after several
// calls reports the last one: an earlier failure is lost, and the code goes on
// with what the failed call returned. This wrapper checks each call as it
// returns and throws fb::Error with the engine's text there.
class ThrowingWrapper : public Firebird::BaseStatusWrapper<ThrowingWrapper> {
public:
    explicit ThrowingWrapper(Firebird::IStatus* status) : BaseStatusWrapper(status) {}
    static void checkException(ThrowingWrapper* status);
};

// A status on the stack for a sequence of calls: the first that fails throws.
class ThrowStatus {
public:
    ThrowStatus();
    ~ThrowStatus();
    ThrowStatus(const ThrowStatus&) = delete;
    ThrowStatus& operator=(const ThrowStatus&) = delete;

    ThrowingWrapper* get() { return &wrapper_; }

private:
    Firebird::IStatus* status_;
    ThrowingWrapper wrapper_;
};

// A status on the stack for one call at a time, checked by the caller: for
// clean-up, where a failure is handled on the spot (the handle released).
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
    Firebird::CheckStatusWrapper* get() { return &wrapper_; }
    bool failed() const { return wrapper_.getState() & Firebird::IStatus::STATE_ERRORS; }
    // Throws when the last call failed.
    void check();
    // Clears the vector without throwing (for clean-up calls).
    void clear() { wrapper_.clearException(); }

private:
    Firebird::IStatus* status_;
    Firebird::CheckStatusWrapper wrapper_;
};

// What a releasing smart pointer does with an object of the client library.
struct Released {
    void operator()(Firebird::IReferenceCounted* p) const { if (p) p->release(); }
};
struct Disposed {
    void operator()(Firebird::IDisposable* p) const { if (p) p->dispose(); }
};

}  // namespace fb
