#include "contracts/CF3.h"

TCF3* CF3 = nullptr;

TCF3::TCF3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CF3"));
    setWindowTitle(QStringLiteral("Выбор вида работ"));
}
