#include "fb/Login.h"

#include "fb/ServerPath.h"

#include <pwd.h>
#include <unistd.h>

namespace fb {

QString systemUserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QString env = qEnvironmentVariable("USER");
    return env.isEmpty() ? QStringLiteral("USER") : env;
}

bool environmentLogin(Login* login) {
    if (!qEnvironmentVariableIsSet("ISC_USER") || !qEnvironmentVariableIsSet("ISC_PASSWORD")) return false;
    login->user = qEnvironmentVariable("ISC_USER");
    login->password = qEnvironmentVariable("ISC_PASSWORD");
    return !login->user.isEmpty();
}

QString adminRole(const QString& database, const QString& user) {
    if (!ServerPath::parse(database).remote() || user.trimmed().toUpper() == QLatin1String("SYSDBA")) return QString();
    return QStringLiteral("RDB$ADMIN");
}

Login& defaultLogin() {
    static Login login = [] {
        Login l;
        if (!environmentLogin(&l)) l = {QStringLiteral("SYSDBA"), QString(), QString()};
        return l;
    }();
    return login;
}

}  // namespace fb
