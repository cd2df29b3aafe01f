// The editor's status line: who created the contract and who changed it
// last, and when, from the database's change log (nothing on a database
// without it).
#include "contracts/CF.h"

#include "app/DM.h"
#include "app/Login.h"
#include "app/LoginJournal.h"
#include "app/SchemaUpgrade.h"
#include "rtl/Convert.h"

#include <QLabel>
#include <QStatusBar>

void TCF::buildAuthors() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    LabelAuthors = new QLabel(StatusBar1);
    LabelAuthors->setObjectName(QStringLiteral("LabelAuthors"));
    StatusBar1->addWidget(LabelAuthors, 1);
}

void TCF::showAuthors(const QString& key) {
    LabelAuthors->setText(app::hasSchema(app::kRolesStep)
                              ? app::authorsText(app::contractAuthors(DM->IBDbase, rtl::StrToInt(key)))
                              : QString());
}
