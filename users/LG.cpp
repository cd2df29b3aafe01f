#include "users/LG.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

const char* const TLG::kLastUserKey = "login/last_user";

TLG::TLG(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LG"));
    setWindowTitle(QStringLiteral("Вход"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    EditUser = new QLineEdit(this);
    EditUser->setObjectName(QStringLiteral("EditUser"));
    EditUser->setMaxLength(63);
    EditPassword = new QLineEdit(this);
    EditPassword->setObjectName(QStringLiteral("EditPassword"));
    EditPassword->setEchoMode(QLineEdit::Password);
    LabelRefusal = new QLabel(this);
    LabelRefusal->setObjectName(QStringLiteral("LabelRefusal"));
    LabelRefusal->setStyleSheet(QStringLiteral("color: #a00000"));
    LabelRefusal->setWordWrap(true);
    BitBtnLogin = new QPushButton(QStringLiteral("Войти"), this);
    BitBtnLogin->setObjectName(QStringLiteral("BitBtnLogin"));
    BitBtnLogin->setDefault(true);
    BitBtnLogin->setAutoDefault(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Пользователь:"), EditUser);
    form->addRow(QStringLiteral("Пароль:"), EditPassword);
    auto* l = new QVBoxLayout(this);
    l->addLayout(form);
    l->addWidget(LabelRefusal);
    l->addWidget(BitBtnLogin, 0, Qt::AlignHCenter);
    setFixedSize(320, 150);
    connect(BitBtnLogin, &QPushButton::clicked, this, &TLG::BitBtnLoginClick);
}

void TLG::BitBtnLoginClick() {
    if (EditUser->text().trimmed().isEmpty()) {
        LabelRefusal->setText(QStringLiteral("Введите имя пользователя"));
        EditUser->setFocus();
        return;
    }
    accept();
}

bool TLG::ask(fb::Login& login, const QString& refusal) {
    TLG lg;
    QSettings settings(QStringLiteral("torquil"), QStringLiteral("torquil"));
    const QString last = settings.value(QLatin1String(kLastUserKey)).toString();
    lg.EditUser->setText(login.user.isEmpty() ? last : login.user);
    lg.LabelRefusal->setText(refusal);
    (lg.EditUser->text().isEmpty() ? lg.EditUser : lg.EditPassword)->setFocus();
    // Esc rejects: the program ends.
    if (lg.exec() != QDialog::Accepted) return false;
    login.user = lg.EditUser->text().trimmed();
    login.password = lg.EditPassword->text();
    settings.setValue(QLatin1String(kLastUserKey), login.user);
    return true;
}
