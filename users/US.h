#pragma once
// "Пользователи": the server's users and their roles; the owner adds one,
// gives a new password, drops one (the server lets only its administrator
// do so). The same as torquil-db user ...
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
namespace widgets { class StringGrid; }

class TUS : public QDialog {
    Q_OBJECT
public:
    explicit TUS(QWidget* parent = nullptr);
    widgets::StringGrid* Grid;
    QLineEdit* EditName;
    QLineEdit* EditPassword;
    QComboBox* BoxRole;
    QPushButton *BitBtnAdd, *BitBtnPasswd, *BitBtnDrop;

public slots:
    void FormActivate();
    void BitBtnAddClick();
    void BitBtnPasswdClick();
    void BitBtnDropClick();
};

extern TUS* US;
