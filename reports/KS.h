#pragma once
// "Касса": the payments of a day or a period (DateFrom..DateTo, today when
// opened) by method, with the total of each method and in all, refunds
// subtracted. The list prints.
#include <QDialog>

class QLabel;
class QPushButton;
namespace widgets {
class DateEdit;
class StringGrid;
}  // namespace widgets

class TKS : public QDialog {
    Q_OBJECT
public:
    explicit TKS(QWidget* parent = nullptr);

    widgets::DateEdit *DateFrom, *DateTo;
    QPushButton *BitBtnShow, *BitBtnPrint, *BitBtnClose;
    widgets::StringGrid* Grid_ks;
    QLabel* LabelTotal;

public slots:
    void FormActivate();
    void BitBtnShowClick();
    void BitBtnPrintClick();

private:
    QString period_;
    std::vector<QStringList> printed_, totals_;
};

extern TKS* KS;
