#pragma once
// "Вход": the login to the shop's server, shown before the program
// connects. The last user name of this computer is proposed (the user's own
// settings file); the password is never kept. Esc ends the program.
#include "fb/Login.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TLG : public QDialog {
    Q_OBJECT
public:
    explicit TLG(QWidget* parent = nullptr);
    QLineEdit* EditUser;
    QLineEdit* EditPassword;
    QPushButton* BitBtnLogin;
    QLabel* LabelRefusal;

    // The prompt app::logIn calls: a window of its own each time.
    static bool ask(fb::Login& login, const QString& refusal);

    // The settings key of the last user name.
    static const char* const kLastUserKey;

private slots:
    void BitBtnLoginClick();
};
