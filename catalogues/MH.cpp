#include "catalogues/MH.h"

TMH* MH = nullptr;

TMH::TMH(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MH"));
    setWindowTitle(QStringLiteral("Справочник механиков"));
}
