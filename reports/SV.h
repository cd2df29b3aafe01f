#pragma once
// The summary window: asks for a day, a month of the current year, a year or
// a period, and builds the summary of its contracts in the spreadsheet.
#include <QDate>
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
namespace widgets {
class DateEdit;
class LineEdit;
class RadioGroup;
class UpperCombo;
}  // namespace widgets

class TSV : public QDialog {
    Q_OBJECT
public:
    explicit TSV(QWidget* parent = nullptr);

    enum Item { Day = 0, Month = 1, Year = 2, Period = 3 };

    widgets::RadioGroup* RG1;
    widgets::DateEdit* MEdit1;
    widgets::UpperCombo* Box1;
    widgets::LineEdit* Edit1;
    QLabel *Label1, *Label2;  // "С", "ПО"
    widgets::DateEdit *MEdit2, *MEdit3;
    QPushButton *BitBtn1, *BitBtn2;
    QPushButton* BitBtn3;  // ПЕЧАТЬ: the same rows in the print preview

    // The period as the last RG1Click left it.
    QDate d1, d2;
    QString text;

public slots:
    void FormActivate();
    void RG1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
};

extern TSV* SV;
