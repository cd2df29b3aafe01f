#include "catalogues/SM.h"

TSM* SM = nullptr;

TSM::TSM(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("SM"));
    setWindowTitle(QStringLiteral("Справочник фирм-производителей, моделей машин"));
}
