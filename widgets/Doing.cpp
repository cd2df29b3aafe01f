#include "widgets/Doing.h"

#include <exception>
#include <utility>

namespace widgets {

namespace {

FailedAction left;

}  // namespace

Doing::Doing(QString failed, QString unsaved)
    : action_{std::move(failed), std::move(unsaved)}, exceptions_(std::uncaught_exceptions()) {}

Doing::~Doing() {
    // Left by an exception: the outermost scope runs last and names the action.
    if (std::uncaught_exceptions() > exceptions_) left = action_;
}

FailedAction takeFailedAction() { return std::exchange(left, FailedAction{}); }

void forgetFailedAction() {
    if (left.known()) left = FailedAction{};
}

}  // namespace widgets
