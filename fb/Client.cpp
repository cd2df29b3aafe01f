#include "fb/Client.h"

#include "fb/Error.h"
#include "fb/LockFolder.h"

namespace fb {

const Client& client() {
    static const Client c = [] {
        useOwnLockFolder();
        Firebird::IMaster* master = Firebird::fb_get_master_interface();
        return Client{master, master->getDispatcher(), master->getUtilInterface()};
    }();
    return c;
}

void shutdownClient() {
    Status st;
    client().provider->shutdown(st.get(), 0, fb_shutrsn_app_stopped);
}

void ThrowingWrapper::checkException(ThrowingWrapper* status) {
    if (status->isDirty() && (status->getState() & Firebird::IStatus::STATE_ERRORS)) {
        Error e = Error::fromStatus(status);
        status->clearException();
        throw e;
    }
}

ThrowStatus::ThrowStatus() : status_(client().master->getStatus()), wrapper_(status_) {}

ThrowStatus::~ThrowStatus() { status_->dispose(); }

Status::Status() : status_(client().master->getStatus()), wrapper_(status_) {}

Status::~Status() { status_->dispose(); }

void Status::check() {
    if (failed()) {
        Error e = Error::fromStatus(&wrapper_);
        wrapper_.clearException();
        throw e;
    }
}

}  // namespace fb
