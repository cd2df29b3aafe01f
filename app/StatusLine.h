#pragma once
// The main window's panel for passing news ("Нет связи с сервером…",
// "Договору присвоен номер N"). The journal hands its panel over once; the
// others write to it through here.
#include <QString>

class QLabel;

namespace app {

void setStatusLabel(QLabel* label);
// Shows the text at once (also while a handler still runs); empty clears it.
void showStatus(const QString& text);
QString statusText();
// A note that stays for the run (what the program cannot do with this
// database): shown whenever no other news is, and kept under it.
void setStandingStatus(const QString& text);

}  // namespace app
