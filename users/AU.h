#pragma once
// "Журнал изменений": who changed what, from the database's own log; the
// owner's window (menu "Сервис"). Filtered by period, user and contract
// number. Enter on an entry of a contract closes it with that contract
// chosen (the main window opens it in view mode).
#include <QDialog>

class QLineEdit;
class QPushButton;
namespace widgets {
class DateEdit;
class StringGrid;
}  // namespace widgets

class TAU : public QDialog {
    Q_OBJECT
public:
    explicit TAU(QWidget* parent = nullptr);
    widgets::DateEdit *MEdit1, *MEdit2;
    QLineEdit* EditUser;
    QLineEdit* EditNum;
    QPushButton* BitBtnShow;
    widgets::StringGrid* Grid;
    QString ChosenKey, ChosenNumber;  // empty unless a contract was chosen

public slots:
    void FormActivate();
    void BitBtnShowClick();
    void GridEnter();
};

extern TAU* AU;
