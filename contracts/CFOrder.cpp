// The editor's work order and acceptance act: laid out by the program and
// shown in the print preview, for the contract as saved.
#include "contracts/CF.h"
#include "contracts/OrderPrint.h"
#include "widgets/Messages.h"

#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

void TCF::buildOrderButtons() {
    BitBtnOrder = new QPushButton(QStringLiteral("Заказ-наряд"), ToolBar1);
    BitBtnOrder->setObjectName(QStringLiteral("BitBtnOrder"));
    BitBtnOrder->setToolTip(QStringLiteral("Заказ-наряд: просмотр, печать, сохранение в PDF"));
    BitBtnAct = new QPushButton(QStringLiteral("Приёмосдаточный акт"), ToolBar1);
    BitBtnAct->setObjectName(QStringLiteral("BitBtnAct"));
    BitBtnAct->setToolTip(QStringLiteral("Приёмосдаточный акт: просмотр, печать, сохранение в PDF"));
    for (QPushButton* b : {BitBtnOrder, BitBtnAct}) {
        b->setFocusPolicy(Qt::TabFocus);
        ToolBar1->addWidget(b);
    }
    connect(BitBtnOrder, &QPushButton::clicked, this, &TCF::BitBtnOrderClick);
    connect(BitBtnAct, &QPushButton::clicked, this, &TCF::BitBtnActClick);
}

bool TCF::savedForPrinting() {
    if (DocId < 0 || NewDoc) {
        widgets::showMessage(QStringLiteral("Договор ещё не сохранён. Сохраните его, чтобы напечатать."));
        return false;
    }
    if (ToolButton8->isEnabled()) {
        widgets::showMessage(QStringLiteral("В договоре есть несохранённые изменения. Сохраните их, чтобы напечатать."));
        return false;
    }
    return true;
}

void TCF::BitBtnOrderClick() {
    if (savedForPrinting()) contracts::PrintOrderPaper(QString::number(DocId), app::OrderPaper::Order, this);
}

void TCF::BitBtnActClick() {
    if (savedForPrinting()) contracts::PrintOrderPaper(QString::number(DocId), app::OrderPaper::Act, this);
}
