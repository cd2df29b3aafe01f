#pragma once
// The editor's group "ОПЛАТА": what was paid and what is due, the state, the
// payments of the contract, and taking or deleting a payment. It works in
// every mode of a stored contract (a payment changes no line of it); a new
// contract has to be saved first. On a database without payments it is
// hidden.
#include "rtl/Money.h"

#include <QGroupBox>

class QLabel;
class QPushButton;
namespace widgets { class StringGrid; }

namespace contracts {

class PaymentsGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit PaymentsGroup(QWidget* parent);

    QLabel *LabelPaid, *LabelDue, *LabelState;
    widgets::StringGrid* Grid_pay;
    QPushButton *BitBtnPay, *BitBtnPayDel;

    // The payments of stored contract `contract` (read again).
    void load(int contract);
    // A contract not yet saved: nothing to show, nothing to take.
    void clear();

    static QString dueText(rtl::Money due);  // "1500,50" (kopecks always shown)

signals:
    void changed();  // a payment was taken or deleted

public slots:
    void BitBtnPayClick();
    void BitBtnPayDelClick();

private:
    int contract_ = -1;
    rtl::Money due_;
};

}  // namespace contracts
