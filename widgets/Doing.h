#pragma once
// What the clerk was doing, for the first line of an error box. A handler
// names its action in the shop's words ("Не удалось сохранить договор");
// when an exception leaves that scope, the error display puts the words
// above the error's own text. Where scopes nest, the outermost names the
// action. `unsaved` says what became of the input when the database refused
// it for a passing reason (a lost server, another workstation's lock).
#include <QString>

namespace widgets {

struct FailedAction {
    QString failed;   // "Не удалось сохранить договор"
    QString unsaved;  // "Договор не сохранён — сохраните ещё раз."
    bool known() const { return !failed.isEmpty(); }
};

class Doing {
public:
    explicit Doing(QString failed, QString unsaved = QString());
    ~Doing();
    Doing(const Doing&) = delete;
    Doing& operator=(const Doing&) = delete;

private:
    FailedAction action_;
    int exceptions_;
};

// The action an exception last left, forgotten as it is taken.
FailedAction takeFailedAction();
// Forgets it (an event that starts afresh: what was left is stale).
void forgetFailedAction();

}  // namespace widgets
