#pragma once
// Typing into a control as the user does. QTest::keyClicks asserts on
// Cyrillic, so every character goes as a key event of its own text.
#include <QString>

class QWidget;

namespace support {

void typeText(QWidget* w, const QString& text);

}  // namespace support
