#include "support/Typing.h"

#include "widgets/UpperCombo.h"

#include <QLineEdit>
#include <QTest>

namespace support {

void typeText(QWidget* w, const QString& text) {
    for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void retype(widgets::UpperCombo* box, const QString& text) {
    box->lineEdit()->selectAll();
    typeText(box, text);
}

}  // namespace support
