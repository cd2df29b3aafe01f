// The main window's work order of the journal's current row ("Отчеты") and
// the shop's details ("Сервис").
#include "app/SchemaUpgrade.h"
#include "contracts/MF.h"
#include "contracts/OrderPrint.h"
#include "contracts/RQ.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

void TMF::N56Click() {
    contracts::PrintOrderPaper(Grid_doc->cell(0, Grid_doc->currentRow()), app::OrderPaper::Order, this);
}

void TMF::N43Click() {
    if (!app::hasSchema(1)) {
        widgets::showMessage(QStringLiteral("Реквизиты автосервиса хранятся в базе данных, а эта база данных "
                                            "старой версии и не обновлена. Обновите её, чтобы их ввести."));
        return;
    }
    RQ->LoadDetails();
    RQ->exec();
}
