#pragma once
// Typing into a control as the user does. QTest::keyClicks asserts on
// Cyrillic, so every character goes as a key event of its own text.
#include <QString>

class QWidget;
namespace widgets { class UpperCombo; }

namespace support {

void typeText(QWidget* w, const QString& text);
// Replaces the whole text of a box as the user does: select all, type.
void retype(widgets::UpperCombo* box, const QString& text);

}  // namespace support
