#include "catalogues/SE.h"

TSE* SE = nullptr;

TSE::TSE(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("SE"));
    setWindowTitle(QStringLiteral("Справочник двигателей"));
}
