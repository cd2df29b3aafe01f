#include "catalogues/VR.h"

TVR* VR = nullptr;

TVR::TVR(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("VR"));
    setWindowTitle(QStringLiteral("Справочник видов работ"));
}
