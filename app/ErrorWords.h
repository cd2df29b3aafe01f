#pragma once
// The clerk's words for a database error. An error box begins with a
// Russian line saying what failed: the action (widgets/Doing.h) or, without
// one, the condition; a sentence for the common conditions (a lost server,
// another workstation's lock, no permission, a full disk, a missing file, a
// wrong password) follows, and the engine's own text comes last, for
// whoever fixes it. Errors of the program's own (conversions, rows deleted
// elsewhere) keep their texts.
#include "widgets/Doing.h"

#include <QString>
#include <exception>

namespace fb { class Error; }

namespace app {

struct ErrorCondition {
    QString headline;  // "Нет связи с сервером"; empty when not a known one
    QString sentence;  // what happened, in a sentence
    bool retry = false;  // passing: the same action may simply be tried again
};
ErrorCondition conditionOf(const fb::Error& error);

// The whole text of the box, or an empty string for an error that keeps its own.
QString errorWords(const std::exception& error, const widgets::FailedAction& action);

// Hands errorWords to the application's error display.
void installErrorWords();

}  // namespace app
