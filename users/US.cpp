#include "users/US.h"

#include "app/DM.h"
#include "app/LoginUsers.h"
#include "fb/Connection.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

TUS* US = nullptr;

namespace {
template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
}  // namespace

TUS::TUS(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("US"));
    setWindowTitle(QStringLiteral("Пользователи"));
    Grid = named(new widgets::StringGrid(this), "Grid");
    Grid->setEscapePropagates(true);  // Esc closes the window
    Grid->setColCount(2);
    Grid->setTitles({QStringLiteral("Пользователь"), QStringLiteral("Роль")});
    Grid->setColWidth(0, 220);
    Grid->setColWidth(1, 120);
    EditName = named(new QLineEdit(this), "EditName");
    EditName->setMaxLength(31);
    EditPassword = named(new QLineEdit(this), "EditPassword");
    EditPassword->setEchoMode(QLineEdit::Password);
    BoxRole = named(new QComboBox(this), "BoxRole");
    BoxRole->addItems({QStringLiteral("ПРИЁМЩИК"), QStringLiteral("ВЛАДЕЛЕЦ")});
    BitBtnAdd = named(new QPushButton(QStringLiteral("Добавить"), this), "BitBtnAdd");
    BitBtnPasswd = named(new QPushButton(QStringLiteral("Сменить пароль"), this), "BitBtnPasswd");
    BitBtnDrop = named(new QPushButton(QStringLiteral("Удалить"), this), "BitBtnDrop");
    LabelWhy = named(new QLabel(this), "LabelWhy");
    LabelWhy->setWordWrap(true);
    LabelWhy->hide();
    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Имя"), this), 0, 0);
    form->addWidget(EditName, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Пароль"), this), 1, 0);
    form->addWidget(EditPassword, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Роль"), this), 2, 0);
    form->addWidget(BoxRole, 2, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BitBtnAdd, BitBtnPasswd, BitBtnDrop}) buttons->addWidget(b);
    auto* l = new QVBoxLayout(this);
    l->addWidget(Grid, 1);
    l->addLayout(form);
    l->addLayout(buttons);
    l->addWidget(LabelWhy);
    resize(420, 420);
    connect(BitBtnAdd, &QPushButton::clicked, this, &TUS::BitBtnAddClick);
    connect(BitBtnPasswd, &QPushButton::clicked, this, &TUS::BitBtnPasswdClick);
    connect(BitBtnDrop, &QPushButton::clicked, this, &TUS::BitBtnDropClick);
}

TUS::~TUS() = default;

fb::Connection& TUS::admin() { return app::userAdmin(DM->IBDbase, admin_); }

void TUS::FormActivate() {
    std::vector<app::UserEntry> users;
    QString why;
    if (!fb::Connection::isRemotePath(DM->IBDbase.databaseName)) {
        // The embedded engine asks no login: its users would be the
        // computer's engine's, of no use to the program.
        why = QStringLiteral("На одном компьютере программа не спрашивает вход: пользователи и их роли "
                             "нужны только на сервере.");
    } else {
        try {
            users = app::listUsers(admin());
        } catch (const app::NoUserAdmin& e) {
            why = QString::fromUtf8(e.what());
        }
    }
    LabelWhy->setText(why);
    LabelWhy->setVisible(!why.isEmpty());
    for (QWidget* w : std::initializer_list<QWidget*>{EditName, EditPassword, BoxRole, BitBtnAdd, BitBtnPasswd, BitBtnDrop})
        w->setEnabled(why.isEmpty());
    Grid->setRowCount(int(users.size()) + 1);
    for (int r = 0; r < int(users.size()); ++r) {
        Grid->setCell(0, r + 1, users[size_t(r)].name);
        Grid->setCell(1, r + 1, users[size_t(r)].role);
    }
}

void TUS::BitBtnAddClick() {
    app::addUser(admin(), EditName->text(), EditPassword->text(),
                 BoxRole->currentIndex() == 1 ? app::UserRole::Owner : app::UserRole::Clerk);
    EditPassword->clear();
    FormActivate();
}

void TUS::BitBtnPasswdClick() {
    app::setUserPassword(admin(), EditName->text(), EditPassword->text());
    EditPassword->clear();
    widgets::showMessage(QStringLiteral("Пароль изменён"));
}

void TUS::BitBtnDropClick() {
    const QString name = app::loginName(EditName->text());
    if (!widgets::askYesNo(QStringLiteral("Удалить пользователя %1?").arg(name))) return;
    app::dropUser(admin(), name);
    FormActivate();
}
