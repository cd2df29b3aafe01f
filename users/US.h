#pragma once
// "Пользователи": the server's users and their roles; the owner adds one,
// gives a new password, drops one. The same as torquil-db user ... The
// server lets only its administrator or an owner's login with the role
// RDB$ADMIN do so (app/LoginUsers.h): the window works on such an
// attachment of its own, or says why it cannot.
#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace fb { class Connection; }
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
    QLabel* LabelWhy;  // why the users cannot be managed, when so
    ~TUS() override;

public slots:
    void FormActivate();
    void BitBtnAddClick();
    void BitBtnPasswdClick();
    void BitBtnDropClick();

private:
    fb::Connection& admin();
    std::unique_ptr<fb::Connection> admin_;
};

extern TUS* US;
