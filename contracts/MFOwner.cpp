// The main window's owner's reports (menu "Отчеты"): the mechanics' pay,
// whose contract list opens a contract in view mode, and the revenue.
#include "app/WindowFlow.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "reports/MW.h"
#include "reports/RV.h"

void TMF::N54Click() {
    app::openModal(MW);
    if (!MW->ChosenKey.isEmpty()) ViewContract(MW->ChosenKey, MW->ChosenNumber);
}

void TMF::N55Click() { app::openModal(RV); }

void TMF::ViewContract(const QString& key, const QString& number) {
    CF->OpenKey = key;
    CF->setWindowTitle(QStringLiteral("Просмотр записи №") + number);
    app::openModeless(CF);
}
