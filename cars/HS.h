#pragma once
// The service history of one car: the car, every contract of it newest
// first with its totals, the lines of the chosen contract, and the number of
// visits with the sum of them all. Opened modal from the car directory and
// from the contract editor; rebuilt from the database each time it is shown.
#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;
namespace widgets { class StringGrid; }
namespace print { struct Document; }

class THS : public QDialog {
    Q_OBJECT
public:
    explicit THS(QWidget* parent = nullptr);

    QString CarKey;  // the car shown (its key as text)

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;  // car, number, VIN, owner, phone
    widgets::StringGrid* Grid_hist;   // the contracts; column 0 the contract key
    widgets::StringGrid* Grid_hwork;  // the work lines of the current contract
    widgets::StringGrid* Grid_hsp;    // its spare-part lines
    QLabel* LabelTotal;               // visits and their sum
    QLabel* LabelYear;                // the distance a year, from the visits' mileage
    QPushButton* BitBtnPrint;         // "Печать" (Ctrl+P): the history in the print preview

    // Shows the history of car `key` modal over `owner`.
    void ShowCar(const QString& key, QWidget* owner);

    void FormActivate();
    // The car, its visits as listed, and each visit's lines.
    print::Document PrintDocument() const;
    void BitBtnPrintClick();
    void FillHistory();

signals:
    // Enter on a contract: its card is to be printed (the journal does it).
    void cardRequested(const QString& contractKey);

public slots:
    void Grid_histClick();
    void Grid_histKeyPress();  // Enter: the contract's card

private:
    QGroupBox* buildCarHeader();
    widgets::StringGrid* buildHistoryGrid();
    void buildLineGrids(QVBoxLayout* layout);
    void ShowCarHeader();
    QString currentKey() const;
};

extern THS* HS;
