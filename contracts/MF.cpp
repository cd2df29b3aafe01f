#include "contracts/MF.h"

#include "app/Connect.h"

TMF* MF = nullptr;

TMF::TMF(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MF"));
    setWindowTitle(QStringLiteral("Торквиль 1.0"));
}

void TMF::FormActivate() {
    if (FirstActivation) {
        FirstActivation = false;
        if (!app::ConnectDatabase()) return;
    }
    NewDoc = false;
    EditDoc = false;
}
