#include "support/Typing.h"

#include <QTest>

namespace support {

void typeText(QWidget* w, const QString& text) {
    for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

}  // namespace support
