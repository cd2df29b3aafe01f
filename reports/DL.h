#pragma once
// "Должники": every contract with something due, grouped by customer (owner
// and phone), the largest debt first, with the oldest unpaid date; Enter on
// a row picks its contract (a customer's row: the oldest one), which the
// journal then opens in view mode. The list prints.
#include <QDialog>

class QLabel;
class QPushButton;
namespace widgets { class StringGrid; }

class TDL : public QDialog {
    Q_OBJECT
public:
    explicit TDL(QWidget* parent = nullptr);

    widgets::StringGrid* Grid_dl;
    QLabel* LabelTotal;
    QPushButton *BitBtnPrint, *BitBtnClose;

    QString chosenKey() const { return chosen_; }

public slots:
    void FormActivate();
    void Grid_dlEnter();
    void BitBtnPrintClick();

private:
    QString chosen_;
    QString total_;
};

extern TDL* DL;
