#include "about/Hst.h"

THst* Hst = nullptr;

THst::THst(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Hst"));
    setWindowTitle(QStringLiteral("История версий"));
}
