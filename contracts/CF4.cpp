#include "contracts/CF4.h"

TCF4* CF4 = nullptr;

TCF4::TCF4(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CF4"));
    setWindowTitle(QStringLiteral("Выбор запасных частей, комплектующих, расходных материалов"));
}
