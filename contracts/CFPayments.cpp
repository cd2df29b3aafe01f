#include "contracts/CFPayments.h"

#include "app/Login.h"
#include "app/PaymentReports.h"
#include "app/Payments.h"
#include "app/SchemaUpgrade.h"
#include "app/WindowFlow.h"
#include "contracts/PY.h"
#include "rtl/Convert.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <optional>

namespace contracts {

namespace {

const widgets::GridColumn kColumns[] = {
    {"", 0}, {"  ДАТА", 90}, {"  СПОСОБ", 110}, {"  СУММА", 110}, {"  ПРИМЕЧАНИЕ", 300}};

QString kopecks(rtl::Money m) { return app::moneyText(m); }

}  // namespace

QString PaymentsGroup::dueText(rtl::Money due) { return kopecks(due); }

PaymentsGroup::PaymentsGroup(QWidget* parent) : QGroupBox(QStringLiteral("ОПЛАТА"), parent) {
    setObjectName(QStringLiteral("GP7"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 6);
    auto value = [this](const char* name) {
        auto* l = new QLabel(QStringLiteral("0,00"), this);
        l->setObjectName(QString::fromLatin1(name));
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setFixedWidth(128);
        return l;
    };
    LabelPaid = value("LabelPaid");
    LabelDue = value("LabelDue");
    LabelState = value("LabelState");
    LabelState->setText(QString());
    Grid_pay = new widgets::StringGrid(this);
    Grid_pay->setObjectName(QStringLiteral("Grid_pay"));
    Grid_pay->setColumns(kColumns);
    Grid_pay->setDefaultRowHeight(20);
    Grid_pay->setRowCount(2);
    BitBtnPay = new QPushButton(QStringLiteral("Принять оплату"), this);
    BitBtnPay->setObjectName(QStringLiteral("BitBtnPay"));
    BitBtnPayDel = new QPushButton(QStringLiteral("Удалить оплату"), this);
    BitBtnPayDel->setObjectName(QStringLiteral("BitBtnPayDel"));
    for (QPushButton* b : {BitBtnPay, BitBtnPayDel}) b->setFixedWidth(128);

    grid->addWidget(new QLabel(QStringLiteral("Оплачено"), this), 0, 0);
    grid->addWidget(LabelPaid, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("К оплате"), this), 1, 0);
    grid->addWidget(LabelDue, 1, 1);
    grid->addWidget(LabelState, 2, 1);
    grid->addWidget(Grid_pay, 0, 2, 3, 1);
    grid->addWidget(BitBtnPay, 0, 3);
    grid->addWidget(BitBtnPayDel, 1, 3);
    grid->setColumnStretch(2, 1);

    connect(BitBtnPay, &QPushButton::clicked, this, &PaymentsGroup::BitBtnPayClick);
    connect(BitBtnPayDel, &QPushButton::clicked, this, &PaymentsGroup::BitBtnPayDelClick);
    setVisible(app::hasSchema(2));
}

void PaymentsGroup::clear() {
    contract_ = -1;
    due_ = rtl::Money();
    setVisible(app::hasSchema(2));
    LabelPaid->setText(QStringLiteral("0,00"));
    LabelDue->setText(QStringLiteral("0,00"));
    LabelState->setText(QString());
    Grid_pay->clearToBlankRow();
    BitBtnPay->setEnabled(false);
    BitBtnPay->setToolTip(QStringLiteral("Сначала сохраните договор"));
    BitBtnPayDel->setEnabled(false);
}

void PaymentsGroup::load(int contract) {
    if (!app::hasSchema(2)) {
        clear();
        return;
    }
    // Everything is read before anything is shown.
    // A line stored by an older program past the money limit has no exact
    // total: the contract opens all the same, with the due left blank.
    std::optional<rtl::Money> total;
    try {
        total = app::totalOf(contract);
    } catch (const std::exception&) {
    }
    const rtl::Money paid = app::paidOf(contract);
    const std::vector<app::Payment> list = app::paymentsOf(contract);
    contract_ = contract;
    due_ = total ? app::minus(*total, paid) : rtl::Money();
    LabelPaid->setText(kopecks(paid));
    LabelDue->setText(total ? kopecks(due_) : QString());
    LabelState->setText(total ? app::payStateText(app::payState(*total, paid)) : QString());
    const int n = int(list.size());
    Grid_pay->beginFill(n > 0 ? n + 1 : 2);
    Grid_pay->setTitles(widgets::columnTitles(kColumns));
    for (int r = 0; r < n; ++r) {
        const app::Payment& p = list[size_t(r)];
        const bool refund = p.method == app::refundMethod();
        Grid_pay->setCell(0, r + 1, QString::number(p.id));
        Grid_pay->setCell(1, r + 1, QStringLiteral("  ") + rtl::DateToStr(p.date));
        Grid_pay->setCell(2, r + 1, QStringLiteral("  ") + p.method);
        Grid_pay->setCell(3, r + 1, QStringLiteral("  ") + (refund ? QStringLiteral("-") : QString()) + kopecks(p.amount));
        Grid_pay->setCell(4, r + 1, QStringLiteral("  ") + p.note);
    }
    Grid_pay->endFill();
    BitBtnPay->setEnabled(true);
    BitBtnPay->setToolTip(QString());
    // A clerk's login may not delete a payment (the server refuses it too).
    BitBtnPayDel->setEnabled(n > 0 && app::isOwner());
    BitBtnPayDel->setToolTip(app::isOwner() ? QString() : app::ownerOnlyHint());
}

void PaymentsGroup::BitBtnPayClick() {
    if (contract_ < 0) return;
    PY->prepare(contract_, due_.units() > 0 ? kopecks(due_) : QString());
    const int result = app::openModal(PY, window());
    if (result == QDialog::Accepted) {
        load(contract_);
        emit changed();
    }
}

void PaymentsGroup::BitBtnPayDelClick() {
    if (contract_ < 0) return;
    const QString key = Grid_pay->cell(0, Grid_pay->currentRow());
    if (key.isEmpty()) return;
    if (!widgets::askDelete()) return;
    try {
        app::deletePayment(contract_, rtl::StrToInt(key));
    } catch (...) {
        load(contract_);
        throw;
    }
    load(contract_);
    emit changed();
}

}  // namespace contracts
