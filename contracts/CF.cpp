#include "contracts/CF.h"

TCF* CF = nullptr;

TCF::TCF(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("CF"));
    setWindowTitle(QStringLiteral("Договор"));
}
