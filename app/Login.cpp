#include "app/Login.h"

#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Reconnect.h"
#include "fb/ServerPath.h"
#include "fb/Transaction.h"

#include <QThread>

#include <firebird/Interface.h>

namespace app {

const char* const kOwnerRole = "TORQUIL_OWNER";
const char* const kClerkRole = "TORQUIL_CLERK";

namespace {
Role& role() {
    static Role r = Role::Owner;
    return r;
}
LoginPrompt& prompt() {
    static LoginPrompt p;
    return p;
}

const char* const kRefused = "Неверное имя пользователя или пароль";
const char* const kNoServer =
    "Сервер базы данных %1 не отвечает. Проверьте, что он запущен и доступен по сети, и войдите ещё раз.";
}  // namespace

Role currentRole() { return role(); }
void setCurrentRole(Role r) { role() = r; }
QString ownerOnlyHint() { return QStringLiteral("Доступно только владельцу"); }

void setLoginPrompt(LoginPrompt p) { prompt() = std::move(p); }

int& loginPauseMs() {
    static int ms = 3000;
    return ms;
}

QString roleOf(fb::Connection& db) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT"),
              QStringLiteral(" (SELECT COUNT(*) FROM RDB$ROLES WHERE RDB$ROLE_NAME = 'TORQUIL_OWNER'),"),
              QStringLiteral(" (SELECT COUNT(*) FROM RDB$USER_PRIVILEGES WHERE RDB$USER = CURRENT_USER"),
              QStringLiteral("   AND RDB$RELATION_NAME = 'TORQUIL_OWNER' AND RDB$PRIVILEGE = 'M'),"),
              QStringLiteral(" (SELECT COUNT(*) FROM RDB$USER_PRIVILEGES WHERE RDB$USER = CURRENT_USER"),
              QStringLiteral("   AND RDB$RELATION_NAME = 'TORQUIL_CLERK' AND RDB$PRIVILEGE = 'M'),"),
              QStringLiteral(" IIF(CURRENT_USER = 'SYSDBA' OR CURRENT_USER = (SELECT RDB$OWNER_NAME FROM RDB$RELATIONS"),
              QStringLiteral("   WHERE RDB$RELATION_NAME = 'RDB$DATABASE'), 1, 0)"),
              QStringLiteral("FROM RDB$DATABASE")});
    q.open();
    const bool roles = q.field(0).asInteger() > 0;
    const bool owner = q.field(1).asInteger() > 0 || q.field(3).asInteger() > 0;
    const bool clerk = q.field(2).asInteger() > 0;
    q.close();
    tr.commit();
    if (!roles) return QString();
    if (owner) return QString::fromLatin1(kOwnerRole);
    if (clerk) return QString::fromLatin1(kClerkRole);
    return QString();
}

bool logIn(fb::Connection& db) {
    fb::Login login;
    const bool fromEnvironment = fb::environmentLogin(&login);
    QString refusal;
    int failures = 0;
    // A login from the environment is tried first; after a refusal the
    // window asks, with the reason.
    bool ask = !fromEnvironment;
    for (;;) {
        if (ask && (!prompt() || !prompt()(login, refusal))) return false;
        ask = true;
        // The server keeps names in capitals; the client upper-cases only a
        // name that looks like an identifier, so every name goes in capitals.
        login.user = login.user.trimmed().toUpper();
        db.userName = login.user;
        db.password = login.password;
        db.role.clear();
        try {
            db.open();
        } catch (const fb::Error& e) {
            // A server that cannot be reached is no lost connection: there
            // was none yet. The window stays for a try once it is back.
            if (fb::hasLostCodes(e)) {
                refusal = QString::fromUtf8(kNoServer).arg(fb::ServerPath::parse(db.databaseName).server);
                continue;
            }
            if (!e.hasCode(isc_login)) throw;
            refusal = QString::fromUtf8(kRefused);
            // Three refusals in a row: the next try waits.
            if (++failures % 3 == 0) QThread::msleep(unsigned(loginPauseMs()));
            continue;
        }
        const QString r = roleOf(db);
        db.close();
        // Every later attachment of the run (the copies through the
        // engine's services among them) logs in the same.
        fb::defaultLogin() = login;
        fb::defaultLogin().role = r;
        db.role = r;
        setCurrentRole(r == QLatin1String(kClerkRole) ? Role::Clerk : Role::Owner);
        return true;
    }
}

void attachWithRole(fb::Connection& db) {
    db.open();
    if (!fb::Connection::isRemotePath(db.databaseName) || !db.role.isEmpty()) return;
    const QString r = roleOf(db);
    if (r.isEmpty()) return;
    db.close();
    db.role = r;
    db.open();
    fb::defaultLogin().role = r;
}

void nameSessionUser(fb::Connection& db) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT RDB$SET_CONTEXT('USER_SESSION', 'TORQUIL_USER', :name) FROM RDB$DATABASE")});
    q.setString(QStringLiteral("name"), fb::systemUserName().toUpper());
    q.open();
    q.close();
    tr.commit();
}

}  // namespace app
