#pragma once
// "Оплата": takes one payment (or refund) of a stored contract. The amount
// proposed is what is due; Enter moves on, Ctrl+S or BitBtnPayOk writes.
#include <QDialog>

class QPushButton;
namespace widgets {
class DateEdit;
class LineEdit;
class UpperCombo;
}  // namespace widgets

class TPY : public QDialog {
    Q_OBJECT
public:
    explicit TPY(QWidget* parent = nullptr);

    widgets::LineEdit* EditAmount;
    widgets::UpperCombo* BoxMethod;
    widgets::DateEdit* DatePay;
    widgets::LineEdit* EditNote;
    QPushButton *BitBtnPayOk, *BitBtnPayCancel;

    // Before opening: the contract and the amount proposed ("" for none).
    void prepare(int contract, const QString& proposed);
    int writtenId() const { return written_; }

public slots:
    void BitBtnPayOkClick();

private:
    int contract_ = 0;
    int written_ = 0;
};

extern TPY* PY;
