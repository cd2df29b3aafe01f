#include "cars/CF2.h"

TCF2* CF2 = nullptr;

TCF2::TCF2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CF2"));
    setWindowTitle(QStringLiteral("Выбор машины"));
}
