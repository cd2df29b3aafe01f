// The main window's item "Напоминания о ТО" in the menu "Отчеты": off, with
// a hint why, on a database without the next service of each visit.
#include "app/SchemaUpgrade.h"
#include "app/WindowFlow.h"
#include "contracts/MF.h"
#include "reports/NR.h"

#include <QAction>
#include <QMenu>

void TMF::buildRemindersItem(QMenu* reports) {
    N51 = reports->addAction(QStringLiteral("Напоминания о ТО"));
    N51->setObjectName(QStringLiteral("N51"));
    reports->setToolTipsVisible(true);
    connect(N51, &QAction::triggered, this, &TMF::N51Click);
    connect(reports, &QMenu::aboutToShow, this, &TMF::updateSchemaItems);
}

void TMF::updateSchemaItems() {
    const bool on = app::hasSchema(1);
    N51->setEnabled(on);
    N51->setToolTip(on ? QString()
                       : QStringLiteral("Недоступно: база данных старой версии и не обновлена "
                                        "(нет пробега и следующего ТО у договоров)"));
}

void TMF::N51Click() {
    if (!app::hasSchema(1)) return;
    app::openModal(NR);
}
