// The Debian package from scripts/package (dpkg-buildpackage): lintian finds
// no error, and installed on this machine (as root, which CI is) it lets
// every clerk in: root makes the shop's database, one clerk's program holds
// it, a second clerk is refused it, then reaches the journal and prints a
// card from the installed forms. Removing and purging leave the database.
#include "program/Windows.h"
#include "contracts/MF.h"
#include "office/Viewer.h"
#include "rtl/ProgramFolder.h"
#include "support/Program.h"
#include "support/Skip.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kDatabase = QStringLiteral("/var/lib/torquil/dbase.fdb");
const QStringList kClerks = {QStringLiteral("tq-clerk1"), QStringLiteral("tq-clerk2")};

struct Run {
    int code = -1;
    QString out;
};

// `program` as root, or as `user` through runuser; the engine's lock folder
// left for the program to choose.
Run run(const QString& program, const QStringList& args, const QString& user = QString(), int timeoutMs = 1500000) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("FIREBIRD_LOCK"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (user.isEmpty()) p.start(program, args);
    else p.start(QStringLiteral("runuser"), QStringList{"-u", user, "--", program} + args);
    Run r;
    if (p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit) r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAll());
    return r;
}

bool installed() { return run("dpkg-query", {"-W", "-f=${Status}", "torquil"}).out.contains("ok installed"); }

QByteArray digest(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// The process that holds `path` open, 0 when none does.
qint64 holderOf(const QString& path) {
    for (const QString& name : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = name.toLongLong(&number);
        if (number && support::hasFileOpen(pid, path)) return pid;
    }
    return 0;
}

// Run as a clerk (tst_package --journal): the installed program folder, its
// first activation, the journal's rows, a card. Prints what it saw.
int journalAsThisUser() {
    QTextStream out(stdout);
    office::RecordingViewer viewer;
    office::setViewer(&viewer);
    rtl::setProgramFolder(QStringLiteral("/usr/lib/torquil"));
    widgets::MessageRecorder messages;
    try {
        program::createForms();
        MF->show();
        MF->FormActivate();
        int rows = 0;
        for (int r = 1; r < MF->Grid_doc->rowCount(); ++r) rows += !MF->Grid_doc->cell(0, r).isEmpty();
        out << "rows " << rows << Qt::endl;
        MF->ToolButton8Click();
        out << "card " << viewer.shown.value(0) << Qt::endl;
    } catch (const std::exception& e) {
        out << "error " << e.what() << Qt::endl;
    }
    if (!messages.isEmpty()) out << "message " << messages.lastText() << Qt::endl;
    program::destroyForms();
    return 0;
}

}  // namespace

class TestPackage : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString deb;
    bool groupWasThere = false;

    void install() {
        const Run r = run("dpkg", {"-i", deb});
        QVERIFY2(r.code == 0, qPrintable(r.out));
    }

private slots:
    void initTestCase() {
        if (::geteuid() != 0) SKIP_OR_FAIL_UNDER_CI("installing the package needs root");
        // Never over a shop's installation or database.
        if (installed() || QFileInfo::exists("/var/lib/torquil"))
            SKIP_OR_FAIL_UNDER_CI("torquil is installed here or /var/lib/torquil exists: purge it first");
        groupWasThere = run("getent", {"group", "torquil"}).code == 0;
        const Run built = run(QStringLiteral(TORQUIL_SOURCE_DIR "/scripts/package"),
                              {QStringLiteral(TORQUIL_BINARY_DIR), dir.filePath("out")});
        QVERIFY2(built.code == 0, qPrintable(built.out.right(4000)));
        deb = built.out.trimmed().section(u'\n', -1);
        QCOMPARE(deb, dir.filePath("out/torquil_1.0_amd64.deb"));
    }

    void cleanupTestCase() {
        if (deb.isEmpty()) return;
        if (installed()) run("dpkg", {"-P", "torquil"});
        QDir("/var/lib/torquil").removeRecursively();
        for (const QString& clerk : kClerks) {
            const QString uid = run("id", {"-u", clerk}).out.trimmed();
            if (!uid.isEmpty())  // the engine's, the cards', Qt's runtime folder
                for (const QString& f : {"/tmp/torquil-firebird-" + uid, "/tmp/torquil-" + uid, "/tmp/runtime-" + clerk})
                    QDir(f).removeRecursively();
            run("userdel", {clerk});
        }
        if (!groupWasThere) run("groupdel", {"torquil"});
    }

    void lintianAndLayout() {
        // Errors fail; warnings and overrides are listed (each justified in
        // debian/torquil.lintian-overrides).
        const Run lint = run("lintian", {"--fail-on", "error", "--display-info", deb});
        QVERIFY2(lint.code == 0, qPrintable(lint.out));
        qInfo("lintian: %s", qPrintable(lint.out.trimmed().isEmpty() ? QStringLiteral("clean") : lint.out));

        const QString root = dir.filePath("root");
        QCOMPARE(run("dpkg-deb", {"-x", deb, root}).code, 0);
        // The program folder: the executables, with the shop's files linked
        // in from /etc; the commands lead there.
        const QString folder = root + "/usr/lib/torquil";
        for (const char* f : {"torquil", "torquil-db"}) {
            QVERIFY2(QFileInfo(folder + "/" + f).isExecutable(), f);
            QVERIFY2(QFileInfo(root + "/usr/bin/" + f).symLinkTarget().endsWith(QString("/usr/lib/torquil/") + f), f);
        }
        QVERIFY(QFileInfo(folder + "/Forms").symLinkTarget().endsWith("/etc/torquil/Forms"));
        QVERIFY(QFileInfo(folder + "/path.txt").symLinkTarget().endsWith("/etc/torquil/path.txt"));
        QVERIFY(QFileInfo(folder + "/schema/dbase.sql").isFile());
        const QString conffiles = run("sh", {"-c", "dpkg-deb --info '" + deb + "' conffiles"}).out;
        for (const char* f : {"/etc/torquil/Forms/print.xlsx", "/etc/torquil/Forms/svod.xlsx", "/etc/torquil/path.txt"})
            QVERIFY2(conffiles.contains(f), f);
        QVERIFY(!run("dpkg-deb", {"-c", deb}).out.contains(".fdb"));  // no database comes or goes with it

        const Run desktop = run("desktop-file-validate", {root + "/usr/share/applications/torquil.desktop"});
        QVERIFY2(desktop.code == 0 && desktop.out.trimmed().isEmpty(), qPrintable(desktop.out));
        const Run meta = run("appstreamcli", {"validate", "--no-net", "--pedantic",
                                              root + "/usr/share/metainfo/example.torquil.Torquil.metainfo.xml"});
        QVERIFY2(meta.code == 0, qPrintable(meta.out));
        for (const char* page : {"torquil.1.gz", "torquil-db.1.gz"})
            QVERIFY2(QFileInfo::exists(root + "/usr/share/man/man1/" + page), page);
    }

    void everyClerkStartsTheProgram() {
        install();
        struct stat st {};
        QCOMPARE(::stat("/var/lib/torquil", &st), 0);
        QCOMPARE(int(st.st_mode & 07777), 02770);
        // The engine's old lock folder as a first run by root leaves it.
        QDir().mkpath("/tmp/firebird");
        ::chmod("/tmp/firebird", 0770);
        for (const QString& clerk : kClerks)
            QVERIFY2(run("useradd", {"-M", "-N", "-G", "torquil", "-s", "/usr/sbin/nologin", clerk}).code == 0,
                     qPrintable(clerk));

        const Run made = run("/usr/bin/torquil-db", {"demo", kDatabase});
        QVERIFY2(made.code == 0, qPrintable(made.out));

        // The first clerk's program holds the database...
        QProcess first;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("FIREBIRD_LOCK"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        first.setProcessEnvironment(env);
        first.start("runuser", {"-u", kClerks[0], "--", "/usr/bin/torquil"});
        QVERIFY(first.waitForStarted());
        qint64 pid = 0;
        for (int i = 0; i < 300 && !(pid = holderOf(kDatabase)) && first.state() == QProcess::Running; ++i)
            QTest::qWait(100);
        QVERIFY2(pid, qPrintable("the first clerk's program did not attach: " + first.readAll()));
        // ...and the second clerk, with a lock folder of their own, is refused it.
        // (The copy would go where every user may write, so that nothing but
        // the database refuses it.)
        const QString copy = QStringLiteral("/tmp/tst_package-refused-%1.fbk").arg(QCoreApplication::applicationPid());
        const Run refused = run("/usr/bin/torquil-db", {"backup", kDatabase, copy}, kClerks[1]);
        QFile::remove(copy);
        ::kill(pid_t(pid), SIGTERM);
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitCode(), 0);
        QVERIFY2(refused.code == 1 && refused.out.contains("already opened"), qPrintable(refused.out));

        // The second clerk, now alone, reaches the journal and prints a card
        // from the installed form, which stays as it was.
        const QByteArray form = digest("/etc/torquil/Forms/print.xlsx");
        const Run journal = run(QCoreApplication::applicationFilePath(), {"--journal"}, kClerks[1]);
        const QString uid = run("id", {"-u", kClerks[1]}).out.trimmed();
        QVERIFY2(QRegularExpression("(^|\n)rows [1-9]").match(journal.out).hasMatch(), qPrintable(journal.out));
        QVERIFY2(journal.out.contains("\ncard /tmp/torquil-" + uid + "/Заказ-наряд-") &&
                     !journal.out.contains("\nmessage") && !journal.out.contains("\nerror"),
                 qPrintable(journal.out));
        QCOMPARE(digest("/etc/torquil/Forms/print.xlsx"), form);
    }

    void removingKeepsTheDatabase() {
        if (!QFileInfo::exists(kDatabase)) QSKIP("needs the database of everyClerkStartsTheProgram");
        QCOMPARE(run("dpkg", {"-r", "torquil"}).code, 0);
        QVERIFY(QFileInfo::exists(kDatabase) && QFileInfo::exists("/etc/torquil/path.txt"));
        QVERIFY(!QFileInfo::exists("/usr/bin/torquil"));
        QCOMPARE(run("dpkg", {"-P", "torquil"}).code, 0);
        QVERIFY(QFileInfo::exists(kDatabase));
        QVERIFY(!QFileInfo::exists("/etc/torquil"));
        // An empty folder is the package's own: purging takes it.
        QVERIFY(QFile::remove(kDatabase));
        install();
        QCOMPARE(run("dpkg", {"-P", "torquil"}).code, 0);
        QVERIFY(!QFileInfo::exists("/var/lib/torquil"));
    }
};

int main(int argc, char** argv) {
    widgets::Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (argc > 1 && qstrcmp(argv[1], "--journal") == 0) return journalAsThisUser();
    TestPackage tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_package.moc"
