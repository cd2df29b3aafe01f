#include "fb/Login.h"

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

Login& defaultLogin() {
    static Login login = [] {
        Login l;
        if (!environmentLogin(&l)) l = {QStringLiteral("SYSDBA"), QString()};
        return l;
    }();
    return login;
}

}  // namespace fb
