#include "app/LoginUsers.h"

#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"

#include <stdexcept>

namespace app {

namespace {

void runDdl(fb::Connection& db, const QString& text) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({text});
    q.execSQL();
    q.close();
    tr.commit();
}

// The roles the user is a member of.
QStringList rolesOf(fb::Connection& db, const QString& name) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$USER_PRIVILEGES"),
              QStringLiteral("WHERE RDB$USER = :name AND RDB$PRIVILEGE = 'M' AND RDB$USER_TYPE = 8"),
              QStringLiteral("AND RDB$RELATION_NAME IN ('TORQUIL_OWNER', 'TORQUIL_CLERK', 'RDB$ADMIN')")});
    q.setString(QStringLiteral("name"), name);
    QStringList roles;
    for (q.open(); !q.eof(); q.next()) roles << q.field(0).asString();
    q.close();
    tr.commit();
    return roles;
}

}  // namespace

QString loginName(const QString& name) { return name.trimmed().toUpper(); }

void checkLoginText(const QString& text, bool password) {
    const QString what = password ? QStringLiteral("Пароль") : QStringLiteral("Имя пользователя");
    if (text.isEmpty()) throw std::invalid_argument((what + QStringLiteral(" не может быть пустым")).toStdString());
    if (!password && text.size() > 31)
        throw std::invalid_argument("Имя пользователя длиннее 31 знака");
    if (!password && text.trimmed() != text)
        throw std::invalid_argument("Имя пользователя не может начинаться или кончаться пробелом");
    // A login with a double quote would be taken by the server as a quoted,
    // case-kept name: such a name could never log in.
    if (!password && text.contains(u'"'))
        throw std::invalid_argument("Имя пользователя не может содержать двойные кавычки");
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            throw std::invalid_argument(
                (what + QStringLiteral(" может содержать только латинские буквы, цифры и знаки")).toStdString());
}

QString quotedIdentifier(const QString& name) {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString quotedLiteral(const QString& text) {
    QString q = text;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

QString roleName(UserRole role) {
    return role == UserRole::Owner ? QStringLiteral("TORQUIL_OWNER") : QStringLiteral("TORQUIL_CLERK");
}

void addUser(fb::Connection& db, const QString& name, const QString& password, UserRole role) {
    checkLoginText(name, false);
    checkLoginText(password, true);
    const QString user = quotedIdentifier(loginName(name));
    const bool owner = role == UserRole::Owner;
    runDdl(db, QStringLiteral("CREATE USER %1 PASSWORD %2%3 USING PLUGIN Srp")
                   .arg(user, quotedLiteral(password), owner ? QStringLiteral(" GRANT ADMIN ROLE") : QString()));
    runDdl(db, QStringLiteral("GRANT %1 TO USER %2").arg(roleName(role), user));
    if (owner) runDdl(db, QStringLiteral("GRANT RDB$ADMIN TO USER %1").arg(user));
}

void setUserPassword(fb::Connection& db, const QString& name, const QString& password) {
    checkLoginText(name, false);
    checkLoginText(password, true);
    runDdl(db, QStringLiteral("ALTER USER %1 SET PASSWORD %2 USING PLUGIN Srp")
                   .arg(quotedIdentifier(loginName(name)), quotedLiteral(password)));
}

void dropUser(fb::Connection& db, const QString& name) {
    checkLoginText(name, false);
    const QString login = loginName(name);
    for (const QString& role : rolesOf(db, login))
        runDdl(db, QStringLiteral("REVOKE %1 FROM USER %2").arg(role, quotedIdentifier(login)));
    runDdl(db, QStringLiteral("DROP USER %1 USING PLUGIN Srp").arg(quotedIdentifier(login)));
}

std::vector<UserEntry> listUsers(fb::Connection& db) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT TRIM(u.SEC$USER_NAME),"),
              QStringLiteral(" (SELECT MIN(TRIM(p.RDB$RELATION_NAME)) FROM RDB$USER_PRIVILEGES p"),
              QStringLiteral("  WHERE p.RDB$USER = u.SEC$USER_NAME AND p.RDB$PRIVILEGE = 'M' AND p.RDB$USER_TYPE = 8"),
              QStringLiteral("  AND p.RDB$RELATION_NAME IN ('TORQUIL_OWNER', 'TORQUIL_CLERK'))"),
              QStringLiteral("FROM SEC$USERS u ORDER BY 1")});
    std::vector<UserEntry> users;
    for (q.open(); !q.eof(); q.next()) {
        const QString role = q.field(1).asString();
        users.push_back({q.field(0).asString(), role == QLatin1String("TORQUIL_OWNER")   ? QStringLiteral("владелец")
                                                : role == QLatin1String("TORQUIL_CLERK") ? QStringLiteral("приёмщик")
                                                                                         : QString()});
    }
    q.close();
    tr.commit();
    return users;
}

bool attachedUnderRole(fb::Connection& db, const QString& role) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT CURRENT_ROLE FROM RDB$DATABASE")});
    q.open();
    const bool under = q.field(0).asString().trimmed() == role;
    q.close();
    tr.commit();
    return under;
}

fb::Connection& userAdmin(fb::Connection& program, std::unique_ptr<fb::Connection>& own) {
    const QString adminRole = fb::adminRole(program.databaseName, program.userName);
    if (adminRole.isEmpty()) return program;
    if (own && own->connected()) return *own;
    own = std::make_unique<fb::Connection>();
    own->databaseName = program.databaseName;
    own->userName = program.userName;
    own->password = program.password;
    own->role = adminRole;
    own->open();
    if (!attachedUnderRole(*own, adminRole)) {
        own.reset();
        throw NoUserAdmin(
            "Пользователей ведёт администратор сервера или владелец, добавленный командой "
            "«torquil-db user add БАЗА ИМЯ --role owner» или в этом окне: у этого входа нет таких прав.");
    }
    return *own;
}

}  // namespace app
