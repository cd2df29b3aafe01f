#include "catalogues/SB.h"

TSB* SB = nullptr;

TSB::TSB(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("SB"));
    setWindowTitle(QStringLiteral("Справочник кузовов"));
}
