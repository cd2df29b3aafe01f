#include "cars/DC.h"

TDC* DC = nullptr;

TDC::TDC(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("DC"));
    setWindowTitle(QStringLiteral("Справочник машин"));
}
