#include "tools/UserCommand.h"

#include "app/Login.h"
#include "app/LoginUsers.h"
#include "app/SchemaSteps.h"
#include "fb/Connection.h"
#include "fb/Login.h"
#include "fb/ServerPath.h"

#include <QTextStream>

#include <cstdio>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace tools {

namespace {

int fail(const QString& why) {
    std::fprintf(stderr, "torquil-db: %s\n", qPrintable(QString(why).replace(u'\r', u'\n')));
    return 1;
}

// One line of standard input; on a terminal `secret` switches echo off.
bool readLine(const char* prompt, bool secret, QString* line) {
    const bool tty = ::isatty(STDIN_FILENO);
    if (tty) {
        std::fprintf(stderr, "%s", prompt);
        std::fflush(stderr);
    }
    termios saved{};
    const bool hide = tty && secret && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (hide) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string s;
    const bool ok = bool(std::getline(std::cin, s));
    if (hide) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fprintf(stderr, "\n");
    }
    if (!s.empty() && s.back() == '\r') s.pop_back();
    *line = QString::fromStdString(s);
    return ok;
}

// The new password: twice on a terminal, or two lines of standard input.
bool newPassword(QString* password) {
    QString again;
    if (!readLine("New password: ", true, password) || !readLine("Repeat it: ", true, &again)) {
        fail(QStringLiteral("the new password is to be given twice"));
        return false;
    }
    if (*password != again) {
        fail(QStringLiteral("the two passwords differ"));
        return false;
    }
    return true;
}

// A login without the administrator's role is refused here, instead of
// a list of its own name alone (app::attachedUnderRole).
fb::Connection* attachAdmin(fb::Connection& db, const QString& database) {
    db.databaseName = database;
    // An owner's login manages users only under the role RDB$ADMIN (app/LoginUsers.h).
    db.role = fb::adminRole(database, db.userName);
    db.open();
    if (!db.role.isEmpty() && !app::attachedUnderRole(db, db.role))
        throw std::runtime_error(QStringLiteral("%1 is neither the server's administrator nor an owner added with "
                                                "'torquil-db user add DATABASE NAME --role owner'")
                                     .arg(app::loginName(db.userName))
                                     .toStdString());
    return &db;
}

}  // namespace

bool adminLogin(const QString& database) {
    if (!fb::ServerPath::parse(database).remote()) return true;
    fb::Login login;
    if (fb::environmentLogin(&login)) {
        fb::defaultLogin() = login;
        return true;
    }
    if (!::isatty(STDIN_FILENO)) {
        fail(QStringLiteral("the server needs the administrator's login: set ISC_USER and ISC_PASSWORD"));
        return false;
    }
    if (!readLine("Administrator: ", false, &login.user) || !readLine("Password: ", true, &login.password) ||
        login.user.isEmpty())
        return fail(QStringLiteral("no administrator's login given")), false;
    fb::defaultLogin() = login;
    return true;
}

int serverSetup(const QString& database) {
    try {
        fb::Connection db;
        attachAdmin(db, database);
        const int version = app::schemaVersion(db);
        if (version < app::kRolesStep)
            return fail(QStringLiteral("the database is at version %1: run 'torquil-db upgrade %2' first")
                            .arg(version)
                            .arg(database));
        db.close();
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    const QString file = fb::ServerPath::parse(database).file;
    QTextStream out(stdout);
    out << "The database has the roles TORQUIL_OWNER and TORQUIL_CLERK with their grants.\n"
           "Add the shop's users: torquil-db user add " << database << " NAME --role owner|clerk\n\n"
           "# /etc/firebird/3.0/firebird.conf: logins by Srp, the wire always encrypted,\n"
           "# the server reachable from the shop's network. The server takes the first\n"
           "# line of a setting: change the lines there (Debian's file says\n"
           "# \"RemoteBindAddress = localhost\"), then restart the server.\n"
           "AuthServer = Srp\n"
           "WireCrypt = Required\n"
           "RemoteBindAddress =\n\n"
           "# /etc/firebird/3.0/databases.conf (optional, before any user is added): the\n"
           "# database keeps its own users; after a restart create SYSDBA in it first\n"
           "# (isql-fb on the server: create user SYSDBA password '...' using plugin Srp;)\n"
           "torquil = " << file << "\n"
           "{\n"
           "    SecurityDatabase = torquil\n"
           "}\n\n"
           "# the firewall: the workstations reach port 3050/tcp; with nftables, in the\n"
           "# input chain of /etc/nftables.conf, then: systemctl enable --now nftables\n"
           "#     ip saddr 192.168.1.0/24 tcp dport 3050 accept\n";
    return 0;
}

int userCommand(const QStringList& args) {
    // args: add|passwd|drop|list DATABASE [NAME] [--role owner|clerk]
    const QString sub = args.value(0);
    const QString database = args.value(1);
    const bool list = sub == QLatin1String("list");
    const bool add = sub == QLatin1String("add");
    if (!list && !add && sub != QLatin1String("passwd") && sub != QLatin1String("drop"))
        return fail(QStringLiteral("user: add, passwd, drop or list"));
    const int needed = list ? 2 : add ? 5 : 3;
    if (args.size() != needed || database.isEmpty())
        return fail(list  ? QStringLiteral("usage: torquil-db user list DATABASE")
                    : add ? QStringLiteral("usage: torquil-db user add DATABASE NAME --role owner|clerk")
                          : QStringLiteral("usage: torquil-db user %1 DATABASE NAME").arg(sub));
    app::UserRole role = app::UserRole::Clerk;
    if (add) {
        if (args[3] != QLatin1String("--role") ||
            (args[4] != QLatin1String("owner") && args[4] != QLatin1String("clerk")))
            return fail(QStringLiteral("user add needs --role owner or --role clerk"));
        role = args[4] == QLatin1String("owner") ? app::UserRole::Owner : app::UserRole::Clerk;
    }
    const QString name = args.value(2);
    try {
        if (!list) app::checkLoginText(name, false);
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    if (!adminLogin(database)) return 1;
    QString password;
    if ((add || sub == QLatin1String("passwd")) && !newPassword(&password)) return 1;
    QTextStream out(stdout);
    try {
        fb::Connection db;
        attachAdmin(db, database);
        if (list) {
            for (const app::UserEntry& u : app::listUsers(db))
                out << u.name << (u.role.isEmpty() ? QString() : QStringLiteral("\t") + u.role) << "\n";
        } else if (add) {
            app::addUser(db, name, password, role);
            out << "user " << app::loginName(name) << " added" << Qt::endl;
        } else if (sub == QLatin1String("passwd")) {
            app::setUserPassword(db, name, password);
            out << "password of " << app::loginName(name) << " changed" << Qt::endl;
        } else {
            app::dropUser(db, name);
            out << "user " << app::loginName(name) << " dropped" << Qt::endl;
        }
        db.close();
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    return 0;
}

}  // namespace tools
