#pragma once
// "Выработка механиков": for a period, what each mechanic brought in and
// what he is owed, with the totals; Enter on a mechanic lists his contracts
// of the period, Enter on one of them closes the window naming it (the main
// window then opens it in view mode). Prints.
#include "app/MechanicPay.h"
#include "print/Document.h"

#include <QDate>
#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
namespace widgets {
class DateEdit;
class StringGrid;
}  // namespace widgets

class TMW : public QDialog {
    Q_OBJECT
public:
    explicit TMW(QWidget* parent = nullptr);

    QLabel *Label1, *Label2, *Label3;  // "С", "ПО", the contracts' heading
    widgets::DateEdit *DateFrom, *DateTo;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3;  // show, print, close
    widgets::StringGrid* Grid_pay;  // one row per mechanic, the totals last
    widgets::StringGrid* Grid_ct;   // the contracts of the chosen mechanic

    // What the grids show, as computed.
    app::MechanicPay Pay;
    std::vector<app::MechanicContract> Contracts;
    QDate From, To;
    // The rows shown, as printed.
    print::Document PrintDocument() const;

public slots:
    // Once per opening (not after a preview or a file dialog over it): the
    // default period, shown.
    void FormActivate();
    void BitBtn1Click();  // the period's rows (a refused period changes nothing)
    void BitBtn2Click();  // print
    void Grid_payEnter();
    void Grid_ctEnter();

public:
    // The contract chosen by the last Enter (empty until one is): key, number.
    QString ChosenKey, ChosenNumber;
protected:
    void showEvent(QShowEvent* event) override;

private:
    bool opening_ = false;
};

extern TMW* MW;
