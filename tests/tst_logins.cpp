// Logins and roles on the shop's server: the server refuses what a clerk's
// role may not do however the statement is sent, a wrong password keeps the
// login window up, the wire is encrypted or refused, the change log names
// who wrote, and the program carries no administrator's password.
#include "app/BackupCheck.h"
#include "app/DM.h"
#include "app/ErrorWords.h"
#include "app/Login.h"
#include "app/LoginJournal.h"
#include "app/LoginUsers.h"
#include "app/SchemaSteps.h"
#include "app/SchemaUpgrade.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "users/LG.h"
#include "support/FbServer.h"
#include "support/Modal.h"
#include "support/TestDb.h"
#include "support/TestMain.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <firebird/Interface.h>

namespace {

// A hostile name and password: quotes, a statement's text, a comment.
const QString kHostileName = QStringLiteral("o'neil; drop user sysdba --");
const QString kHostilePassword = QStringLiteral("p'w\"; commit; --");

// Runs `sql` on `db` in a read-write transaction and returns the error, or
// an empty string.
QString attempt(fb::Connection& db, const QString& sql) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({sql});
    try {
        tr.ensure();
        q.execSQL();
        tr.commit();
    } catch (const fb::Error& e) {
        tr.rollback();
        return e.text();
    }
    return QString();
}

QString scalarOn(fb::Connection& db, const QString& sql) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({sql});
    q.open();
    return q.field(0).asString();
}

}  // namespace

class TestLogins : public QObject {
    Q_OBJECT
    support::FbServer server;
    QString dbPath;

    fb::Connection* login(const QString& user, const QString& password, const QString& role) {
        auto* db = new fb::Connection;
        db->databaseName = dbPath;
        db->userName = app::loginName(user);
        db->password = password;
        db->role = role;
        db->open();
        return db;
    }

private slots:
    void initTestCase() {
        FBSERVER_START_OR_SKIP(server);
        dbPath = server.makeDatabase();
        fb::Connection admin;
        admin.databaseName = dbPath;
        admin.open();
        app::addUser(admin, QStringLiteral("boss"), QStringLiteral("boss-pw"), app::UserRole::Owner);
        app::addUser(admin, kHostileName, kHostilePassword, app::UserRole::Clerk);
        app::loginPauseMs() = 0;
    }

    void clerkIsRefusedByTheServer() {
        // The clerk's own login sends the statements directly.
        std::unique_ptr<fb::Connection> clerk(login(kHostileName, kHostilePassword, app::kClerkRole));
        QCOMPARE(app::roleOf(*clerk), QString::fromLatin1(app::kClerkRole));
        QCOMPARE(attempt(*clerk, "INSERT INTO Cars (dev, mod) VALUES ('ВАЗ', '2107')"), QString());
        QCOMPARE(attempt(*clerk, "INSERT INTO Contracts (c_date, meh, cr_fk) VALUES (CURRENT_DATE, 'М', 1)"), QString());
        QCOMPARE(attempt(*clerk, "INSERT INTO Works (name, price) VALUES ('РАБОТА', 100)"), QString());
        QCOMPARE(attempt(*clerk, "UPDATE Works SET name = 'РАБОТА 2'"), QString());
        QCOMPARE(attempt(*clerk, "INSERT INTO CT_Works (ct_fk, name, price) VALUES (1, 'Р', 10)"), QString());
        QCOMPARE(attempt(*clerk, "DELETE FROM CT_Works"), QString());
        QCOMPARE(attempt(*clerk, "INSERT INTO CT_Spares (ct_fk, name, price, num, art, maker) VALUES (1, 'З', 5, 3, 'A1', 'M')"),
                 QString());
        QCOMPARE(attempt(*clerk, "INSERT INTO Ct_Own (ct_fk, name, quantity) VALUES (1, 'КОЛЕСО', 4)"), QString());
        QCOMPARE(attempt(*clerk, "DELETE FROM Ct_Own"), QString());
        QCOMPARE(attempt(*clerk, "INSERT INTO Payments (ct_fk, p_date, amount, method) VALUES (1, CURRENT_DATE, 500, 'НАЛ')"),
                 QString());
        QCOMPARE(attempt(*clerk, "UPDATE Payments SET amount = 450"), QString());
        // The contract's sums are kept by the database under the clerk's login too.
        QCOMPARE(scalarOn(*clerk, "SELECT works_sum || ' ' || spares_sum || ' ' || paid_sum FROM Contracts"),
                 QStringLiteral("0.0000 15.0000 450.00"));
        // The editor's status line may say who wrote the contract without the log being readable.
        QCOMPARE(app::contractAuthors(*clerk, 1).createdBy, app::loginName(kHostileName));
        const QString del = attempt(*clerk, "DELETE FROM Contracts");
        QVERIFY2(del.contains("no permission for DELETE access to TABLE CONTRACTS"), qPrintable(del));
        const QString price = attempt(*clerk, "UPDATE Works SET price = 1");
        QVERIFY2(price.contains("no permission for UPDATE access to COLUMN WORKS.PRICE"), qPrintable(price));
        // A contract's sums are the triggers' alone: no login sets one paid by
        // hand, yet its own columns may be changed and the row locked.
        QCOMPARE(attempt(*clerk, "UPDATE Contracts SET rem = 'СТУК' WHERE pk_id = 1"), QString());
        QCOMPARE(attempt(*clerk, "SELECT pk_id FROM Contracts WHERE pk_id = 1 WITH LOCK"), QString());
        for (const char* sql : {"DELETE FROM Cars", "DELETE FROM Works", "UPDATE Settings SET val = 'x'",
                                "UPDATE Contracts SET paid_sum = 1000000", "UPDATE Contracts SET works_sum = 0",
                                "UPDATE Contracts SET spares_sum = 0, rem = 'x'",
                                "DELETE FROM Change_Log", "INSERT INTO Change_Log (pk_id) VALUES (1)",
                                "DELETE FROM Payments", "UPDATE Spares SET price = 1", "UPDATE meh SET rate = 50",
                                "INSERT INTO meh (name, rate) VALUES ('М', 10)"})
            QVERIFY2(attempt(*clerk, sql).contains("no permission"), sql);
        // Nor can the clerk read the log or the other users.
        try {
            scalarOn(*clerk, "SELECT COUNT(*) FROM Change_Log");
            QFAIL("the clerk read the change log");
        } catch (const fb::Error& e) {
            QVERIFY(e.hasCode(isc_no_priv));
            // What the clerk reads is Russian.
            app::setCurrentRole(app::Role::Clerk);
            const QString words = app::errorWords(e, {});
            app::setCurrentRole(app::Role::Owner);
            QVERIFY2(words.startsWith(QStringLiteral("Нет прав на это действие\nПриёмщику это действие не разрешено")),
                     qPrintable(words));
        }
        QCOMPARE(scalarOn(*clerk, "SELECT COUNT(*) FROM SEC$USERS"), QStringLiteral("1"));
        QCOMPARE(scalarOn(*clerk, "SELECT COUNT(*) FROM Contracts"), QStringLiteral("1"));
    }

    void ownerMayDoEverythingAndTheLogNamesWho() {
        std::unique_ptr<fb::Connection> owner(login(QStringLiteral("BOSS"), QStringLiteral("boss-pw"), app::kOwnerRole));
        QCOMPARE(app::roleOf(*owner), QString::fromLatin1(app::kOwnerRole));
        QCOMPARE(attempt(*owner, "UPDATE Works SET price = 250"), QString());
        QCOMPARE(attempt(*owner, "UPDATE Contracts SET meh = 'МАСТЕР'"), QString());
        QVERIFY(attempt(*owner, "UPDATE Contracts SET paid_sum = 1000000").contains("no permission"));
        const QString clerk = app::loginName(kHostileName);
        const app::ContractAuthors authors = app::contractAuthors(*owner, 1);
        QCOMPARE(app::authorsText(authors), QStringLiteral("Создал %1 %2; изменил BOSS %3")
                                                .arg(clerk, authors.createdAt.toString("dd.MM.yyyy H:mm"),
                                                     authors.changedAt.toString("dd.MM.yyyy H:mm")));
        QCOMPARE(authors.createdAt.date(), QDate::currentDate());
        QCOMPARE(attempt(*owner, "DELETE FROM Contracts"), QString());
        QStringList rows;
        fb::Transaction tr(owner.get());
        fb::Query q(owner.get(), &tr);
        q.setSQL({"SELECT user_name, table_name, action, COALESCE(old_values, ''), COALESCE(new_values, '')",
                  "FROM Change_Log WHERE table_name IN ('CONTRACTS', 'WORKS', 'PAYMENTS') ORDER BY pk_id"});
        for (q.open(); !q.eof(); q.next())
            rows << QStringList{q.field(0).asString(), q.field(1).asString(), q.field(2).asString(),
                                q.field(3).asString(), q.field(4).asString()}
                        .join(u'|');
        // The sums the lines' triggers set on the contract are not logged.
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(rows, QStringList({clerk + "|CONTRACTS|INSERT||num=1; c_date=" + today + "; meh=М; cr_fk=1; ",
                                    clerk + "|PAYMENTS|INSERT||p_date=" + today + "; amount=500.00; method=НАЛ; ",
                                    clerk + "|PAYMENTS|UPDATE|amount=500.00; |amount=450.00; ",
                                    clerk + "|CONTRACTS|UPDATE|rem=<NULL>; |rem=СТУК; ",
                                    "BOSS|WORKS|UPDATE|price=100.0000; |price=250.0000; ",
                                    "BOSS|CONTRACTS|UPDATE|meh=М; |meh=МАСТЕР; ",
                                    "BOSS|CONTRACTS|DELETE|num=1; c_date=" + QDate::currentDate().toString(Qt::ISODate) +
                                        "; meh=МАСТЕР; rem=СТУК; cr_fk=1; |"}));
    }

    // The users window works for an owner's login, not only for the
    // server's administrator; a clerk's login is told why not.
    void ownerManagesUsers() {
        std::unique_ptr<fb::Connection> owner(login(QStringLiteral("boss"), QStringLiteral("boss-pw"), app::kOwnerRole));
        std::unique_ptr<fb::Connection> own;
        fb::Connection& admin = app::userAdmin(*owner, own);
        QVERIFY(&admin == own.get());
        app::addUser(admin, QStringLiteral("helper"), QStringLiteral("h-pw"), app::UserRole::Clerk);
        app::setUserPassword(admin, QStringLiteral("helper"), QStringLiteral("h-pw2"));
        std::unique_ptr<fb::Connection>(login(QStringLiteral("helper"), QStringLiteral("h-pw2"), app::kClerkRole));
        const auto has = [&](const QString& name, const QString& role) {
            for (const app::UserEntry& u : app::listUsers(admin))
                if (u.name == name && u.role == role) return true;
            return false;
        };
        QVERIFY(has("HELPER", QStringLiteral("приёмщик")));
        app::dropUser(admin, QStringLiteral("helper"));
        QVERIFY(!has("HELPER", QStringLiteral("приёмщик")));
        std::unique_ptr<fb::Connection> clerk(login(kHostileName, kHostilePassword, app::kClerkRole));
        std::unique_ptr<fb::Connection> none;
        QVERIFY_THROWS_EXCEPTION(app::NoUserAdmin, app::userAdmin(*clerk, none));
    }

    void wrongPasswordIsAskedAgain() {
        // No login in the environment: the login window is asked, and asked
        // again with the reason after a refusal.
        const QByteArray user = qgetenv("ISC_USER");
        qunsetenv("ISC_USER");
        QStringList refusals;
        int calls = 0;
        app::setLoginPrompt([&](fb::Login& l, const QString& refusal) {
            refusals << refusal;
            l = {QStringLiteral("boss"), ++calls < 4 ? QStringLiteral("wrong") : QStringLiteral("boss-pw"), QString()};
            return true;
        });
        fb::Connection db;
        db.databaseName = dbPath;
        const bool ok = app::logIn(db);
        qputenv("ISC_USER", user);
        QVERIFY(ok);
        const QString refused = QStringLiteral("Неверное имя пользователя или пароль");
        QCOMPARE(refusals, QStringList({QString(), refused, refused, refused}));
        QCOMPARE(db.role, QString::fromLatin1(app::kOwnerRole));
        QCOMPARE(app::currentRole(), app::Role::Owner);
        // Esc in the window: no login, the program ends.
        app::setLoginPrompt([](fb::Login&, const QString&) { return false; });
        qunsetenv("ISC_USER");
        QVERIFY(!app::logIn(db));
        qputenv("ISC_USER", user);
        // A server that does not answer, even for the environment's login:
        // said in the window, not as a lost connection.
        refusals.clear();
        app::setLoginPrompt([&](fb::Login&, const QString& refusal) { return refusals << refusal, false; });
        fb::Connection away;
        away.databaseName = QStringLiteral("localhost/1:/nowhere.fdb");
        QVERIFY(!app::logIn(away));
        QCOMPARE(refusals, QStringList({QStringLiteral("Сервер базы данных localhost/1 не отвечает. Проверьте, что он запущен и "
                                                       "доступен по сети, и войдите ещё раз.")}));
    }

    // The login's role goes with every attachment of the run: the schema's
    // version read at start, the owner's checked backup through the server,
    // and torquil-db's reports with the login from the environment.
    void everyAttachmentTakesTheLoginsRole() {
        const QString tool = QStringLiteral(TORQUIL_BINARY_DIR "/torquil-db");
        for (const auto& [user, password] : {std::pair(kHostileName, kHostilePassword),
                                             std::pair(QStringLiteral("boss"), QStringLiteral("boss-pw"))}) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("ISC_USER"), app::loginName(user));
            env.insert(QStringLiteral("ISC_PASSWORD"), password);
            p.setProcessEnvironment(env);
            p.start(tool, {"report", "reminders", dbPath, "--csv"});
            p.waitForFinished(60000);
            QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
            // The owner lists the users; the clerk is told he may not, not
            // shown a list of himself alone.
            p.start(tool, {"user", "list", dbPath});
            p.waitForFinished(60000);
            const QString out = QString::fromUtf8(p.readAllStandardOutput()), err = QString::fromUtf8(p.readAllStandardError());
            if (user == kHostileName)
                QVERIFY2(p.exitCode() != 0 && out.isEmpty() && err.contains("neither the server's administrator"),
                         qPrintable(out + err));
            else
                QVERIFY2(p.exitCode() == 0 && out.contains("BOSS\tвладелец") && out.contains("\tприёмщик"),
                         qPrintable(out + err));
        }
        const QByteArray user = qgetenv("ISC_USER");
        qunsetenv("ISC_USER");
        app::setLoginPrompt([](fb::Login& l, const QString&) {
            l = {QStringLiteral("boss"), QStringLiteral("boss-pw"), QString()};
            return true;
        });
        DM = new TDM;
        DM->IBDbase.databaseName = dbPath;
        const bool ok = app::logIn(DM->IBDbase);
        qputenv("ISC_USER", user);
        QVERIFY(ok);
        app::prepareSchemaAtStart(dbPath);
        QCOMPARE(app::databaseSchema(), app::newestSchemaVersion());
        QTemporaryDir dir;
        const app::CopyCheck copy = app::backupDatabase(dbPath, dir.filePath("shop.fbk"));
        QVERIFY2(copy.verified && copy.ok(), qPrintable(copy.report()));
        delete DM;
        DM = nullptr;
        fb::defaultLogin() = {QString::fromLatin1(support::FbServer::kAdminUser),
                              QString::fromLatin1(support::FbServer::kAdminPassword), QString()};
    }

    void loginWindowKeepsTheNameNotThePassword() {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        support::whenModalRuns([] {
            auto* lg = qobject_cast<TLG*>(QApplication::activeModalWidget());
            QVERIFY(lg);
            lg->EditUser->setText(QStringLiteral("petrov"));
            lg->EditPassword->setText(QStringLiteral("secret-pw"));
            lg->BitBtnLogin->click();
        });
        fb::Login l;
        QVERIFY(TLG::ask(l, QString()));
        QCOMPARE(l.user, QStringLiteral("petrov"));
        QCOMPARE(l.password, QStringLiteral("secret-pw"));
        // The next run proposes the name; the settings hold no password.
        fb::Login next;
        support::whenModalRuns([] {
            auto* lg = qobject_cast<TLG*>(QApplication::activeModalWidget());
            QVERIFY(lg);
            QCOMPARE(lg->EditUser->text(), QStringLiteral("petrov"));
            QCOMPARE(lg->EditPassword->text(), QString());
            QTest::keyClick(lg, Qt::Key_Escape);
        });
        QVERIFY(!TLG::ask(next, QString()));
        QDirIterator it(config.path(), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(it.hasNext());
        while (it.hasNext()) {
            QFile f(it.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray text = f.readAll();
            QVERIFY(text.contains("petrov") && !text.contains("secret-pw"));
        }
        qunsetenv("XDG_CONFIG_HOME");
    }

    void serverWithoutEncryptionIsRefused() {
        support::FbServer plain;
        plain.extraConfig = QStringLiteral("WireCrypt = Disabled\n");
        FBSERVER_START_OR_SKIP(plain);
        fb::Connection db;
        db.databaseName = plain.serverPath(QStringLiteral("x.fdb"));
        try {
            db.create();
            QFAIL("a server without encryption was used");
        } catch (const fb::Error& e) {
            QVERIFY2(e.text().contains("encryption"), qPrintable(e.text()));
        }
    }

    void userCommandsTakeHostileText() {
        const QString tool = QStringLiteral(TORQUIL_BINARY_DIR "/torquil-db");
        auto run = [&](const QStringList& args, const QByteArray& input = {}) {
            QProcess p;
            p.start(tool, args);
            p.write(input);
            p.closeWriteChannel();
            p.waitForFinished(60000);
            return qMakePair(p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
        };
        auto r = run({"server-setup", dbPath});
        QVERIFY2(r.first == 0 && r.second.contains("WireCrypt = Required"), qPrintable(r.second));
        const QString name = QStringLiteral("x'y) z; --");
        r = run({"user", "add", dbPath, name, "--role", "clerk"}, "a'b\nother\n");
        QVERIFY2(r.first != 0 && r.second.contains("differ"), qPrintable(r.second));
        r = run({"user", "add", dbPath, name, "--role", "clerk"}, "a'b\"c\na'b\"c\n");
        QVERIFY2(r.first == 0, qPrintable(r.second));
        std::unique_ptr<fb::Connection> c(login(name, QStringLiteral("a'b\"c"), app::kClerkRole));
        QCOMPARE(app::roleOf(*c), QString::fromLatin1(app::kClerkRole));
        c.reset();
        r = run({"user", "passwd", dbPath, name}, "new'pw\nnew'pw\n");
        QVERIFY2(r.first == 0, qPrintable(r.second));
        c.reset(login(name, QStringLiteral("new'pw"), QString()));
        c.reset();
        r = run({"user", "list", dbPath});
        QVERIFY2(r.second.contains(app::loginName(name) + "\tприёмщик") && r.second.contains("BOSS\tвладелец"),
                 qPrintable(r.second));
        r = run({"user", "add", dbPath, QStringLiteral("ПЕТРОВ"), "--role", "clerk"}, "a\na\n");
        QVERIFY2(r.first != 0 && r.second.contains("латинские"), qPrintable(r.second));
        r = run({"user", "add", dbPath, QStringLiteral("a\"b"), "--role", "clerk"}, "a\na\n");
        QVERIFY2(r.first != 0 && r.second.contains("кавычки"), qPrintable(r.second));
        r = run({"user", "drop", dbPath, name});
        QVERIFY2(r.first == 0, qPrintable(r.second));
        QVERIFY(!run({"user", "list", dbPath}).second.contains(app::loginName(name)));
        // The administrator's login is the environment's, never built in.
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("ISC_USER"));
        env.remove(QStringLiteral("ISC_PASSWORD"));
        p.setProcessEnvironment(env);
        p.start(tool, {"user", "list", dbPath});
        p.closeWriteChannel();
        p.waitForFinished(60000);
        QVERIFY(p.exitCode() != 0);
    }

    void noAdministratorPasswordInTheProgram() {
        for (const char* file : {"/torquil", "/torquil-db"}) {
            QFile f(QStringLiteral(TORQUIL_BINARY_DIR) + QLatin1String(file));
            QVERIFY2(f.open(QIODevice::ReadOnly), file);
            QVERIFY2(!f.readAll().contains(support::FbServer::kAdminPassword), file);
        }
    }

    void oneComputerLogsTheSystemUser() {
        QTemporaryDir dir;
        fb::Connection db;
        db.databaseName = support::makeDatabase(dir);
        db.userName = QStringLiteral("SYSDBA");
        db.password.clear();
        db.open();
        app::nameSessionUser(db);
        QCOMPARE(attempt(db, "INSERT INTO Cars (dev) VALUES ('ГАЗ')"), QString());
        QCOMPARE(scalarOn(db, "SELECT user_name FROM Change_Log"), fb::systemUserName().toUpper());
    }
};

TORQUIL_TEST_MAIN(TestLogins)
#include "tst_logins.moc"
