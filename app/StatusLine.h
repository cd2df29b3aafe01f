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

}  // namespace app
