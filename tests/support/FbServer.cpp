#include "support/FbServer.h"

#include "app/SchemaSteps.h"
#include "fb/Connection.h"
#include "fb/Login.h"
#include "fb/Script.h"
#include "support/TestDb.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace support {

namespace {

constexpr const char* kPackage = "firebird3.0-server";
constexpr int kListenMs = 10000;

QString cacheDir() {
    const QString env = qEnvironmentVariable("TORQUIL_FBSERVER_CACHE");
    return env.isEmpty() ? QStringLiteral(TORQUIL_BINARY_DIR "/fbserver") : env;
}

struct Run {
    bool ok = false;
    QString output;  // stdout and stderr together
};

// Runs a program to its end, at most `ms` milliseconds.
Run run(const QString& program, const QStringList& args, int ms, const QString& workDir = QString(),
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), const QByteArray& input = {}) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setProcessEnvironment(env);
    if (!workDir.isEmpty()) p.setWorkingDirectory(workDir);
    p.start(program, args);
    Run r;
    if (!p.waitForStarted(5000)) {
        r.output = program + QStringLiteral(": ") + p.errorString();
        return r;
    }
    if (!input.isEmpty()) p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished(2000);
        r.output = program + QStringLiteral(" did not finish within %1 s").arg(ms / 1000);
        return r;
    }
    r.output = QString::fromLocal8Bit(p.readAll()).trimmed();
    r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return r;
}

// The version of the installed engine: the server must be the same build.
QString engineVersion() {
    const Run r = run(QStringLiteral("dpkg-query"),
                      {QStringLiteral("-W"), QStringLiteral("-f=${Version}"), QStringLiteral("firebird3.0-server-core")},
                      10000);
    return r.ok ? r.output : QString();
}

QString debVersion(const QString& deb) {
    const Run r = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Version")}, 10000);
    return r.ok ? r.output : QString();
}

QString findDeb(const QString& dir, const QString& version) {
    const QStringList debs =
        QDir(dir).entryList({QString::fromLatin1(kPackage) + QStringLiteral("_*.deb")}, QDir::Files, QDir::Name);
    for (const QString& name : debs) {
        const QString path = dir + u'/' + name;
        if (version.isEmpty() || debVersion(path) == version) return path;
    }
    return QString();
}

// The folder of the installed engine's character sets.
QString installedIntl() {
    for (const QString& lib : QDir(QStringLiteral("/usr/lib")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString dir = QStringLiteral("/usr/lib/") + lib + QStringLiteral("/firebird/3.0/intl");
        if (QFileInfo::exists(dir + QStringLiteral("/libfbintl.so"))) return dir;
    }
    return QString();
}

bool writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

QByteArray config(int port, const QString& securityDb) {
    return QStringLiteral("RemoteServicePort = %1\n"
                          "RemoteBindAddress = 127.0.0.1\n"
                          "SecurityDatabase = %2\n"
                          "ServerMode = Super\n")
        .arg(port)
        .arg(securityDb)
        .toUtf8();
}

QProcessEnvironment engineEnv(const QString& root, const QString& lock) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), root);
    env.insert(QStringLiteral("FIREBIRD_LOCK"), lock);
    return env;
}

// A security database with the tests' SYSDBA password, made once per engine version
// with the embedded engine of isql-fb under a scratch configuration.
QString securityTemplate(const QString& cache, const QString& version, QString* reason) {
    const QString result = cache + QStringLiteral("/security3-") + version + QStringLiteral(".fdb");
    if (QFileInfo::exists(result)) return result;
    const QString scratch = cache + QStringLiteral("/security-scratch");
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch + QStringLiteral("/lock"));
    const QString db = scratch + QStringLiteral("/security3.fdb");
    if (!writeFile(scratch + QStringLiteral("/firebird.conf"), config(3050, db))) {
        *reason = QStringLiteral("cannot write ") + scratch + QStringLiteral("/firebird.conf");
        return QString();
    }
    const QByteArray script = "create database '" + db.toUtf8() +
                              "';\ncreate user sysdba password '" + QByteArray(FbServer::kAdminPassword) + "';\ncommit;\nexit;\n";
    const Run r = run(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("sysdba")},
                      30000, scratch, engineEnv(scratch, scratch + QStringLiteral("/lock")), script);
    if (!r.ok || !r.output.isEmpty() || !QFileInfo::exists(db)) {
        *reason = QStringLiteral("isql-fb could not create the security database: ") + r.output;
        return QString();
    }
    if (!QFile::rename(db, result)) {
        *reason = QStringLiteral("cannot move the security database to ") + result;
        return QString();
    }
    QDir(scratch).removeRecursively();
    return result;
}

int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

// Whether something listens on 127.0.0.1:port, read from the kernel's
// table, so that the probe itself opens no connection to the server.
bool listening(int port) {
    QFile f(QStringLiteral("/proc/net/tcp"));
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray local = QStringLiteral("0100007F:%1").arg(port, 4, 16, QLatin1Char('0')).toUpper().toLatin1();
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> cols = line.simplified().split(' ');
        if (cols.size() > 3 && cols[1] == local && cols[3] == "0A") return true;
    }
    return false;
}

}  // namespace

QString FbServer::packageTree(QString* reason, bool* unavailable) {
    *unavailable = false;
    const QString cache = cacheDir();
    if (!QDir().mkpath(cache)) {
        *reason = QStringLiteral("cannot create the cache folder ") + cache;
        return QString();
    }
    // Several test programs may start at once: one fetches, the others wait.
    QLockFile lock(cache + QStringLiteral("/.lock"));
    lock.setStaleLockTime(300000);
    if (!lock.tryLock(180000)) {
        *reason = QStringLiteral("the cache folder ") + cache + QStringLiteral(" stays locked");
        return QString();
    }
    const QString version = engineVersion();
    if (version.isEmpty()) {
        *reason = QStringLiteral("firebird3.0-server-core is not installed (scripts/setup installs it)");
        return QString();
    }
    const QString tree = cache + QStringLiteral("/tree-") + version;
    if (!QFileInfo::exists(tree + QStringLiteral("/usr/sbin/firebird"))) {
        QString deb = findDeb(cache, version);
        if (deb.isEmpty()) {
            // The same build as the installed engine, whose plugins the server loads.
            Run r = run(QStringLiteral("apt-get"),
                        {QStringLiteral("download"), QString::fromLatin1(kPackage) + u'=' + version}, 120000, cache);
            deb = findDeb(cache, version);
            if (deb.isEmpty()) {
                *unavailable = true;
                *reason = QStringLiteral("apt-get download %1=%2 failed: %3")
                              .arg(QString::fromLatin1(kPackage), version, r.output.right(400));
                return QString();
            }
        }
        const QString part = tree + QStringLiteral(".part");
        QDir(part).removeRecursively();
        const Run x = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, part}, 60000);
        if (!x.ok || !QFileInfo::exists(part + QStringLiteral("/usr/sbin/firebird"))) {
            *reason = QStringLiteral("dpkg-deb -x %1 failed: %2").arg(deb, x.output);
            return QString();
        }
        if (!QDir().rename(part, tree)) {
            *reason = QStringLiteral("cannot rename ") + part;
            return QString();
        }
    }
    if (securityTemplate(cache, version, reason).isEmpty()) return QString();
    return tree;
}

FbServer::FbServer() = default;

FbServer::~FbServer() { kill(); }

QString FbServer::dataDir() const { return dir_.filePath(QStringLiteral("data")); }

QString FbServer::serverPath(const QString& file) const {
    return QStringLiteral("127.0.0.1/%1:%2/%3").arg(port_).arg(dataDir(), file);
}

bool FbServer::prepareFolder(const QString& tree) {
    if (prepared_) return true;
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder");
        return false;
    }
    const QString root = dir_.filePath(QStringLiteral("root"));
    for (const char* sub : {"root/intl", "lock", "data"})
        if (!QDir().mkpath(dir_.filePath(QString::fromLatin1(sub)))) {
            reason_ = QStringLiteral("cannot create ") + dir_.filePath(QString::fromLatin1(sub));
            return false;
        }
    // The character sets are looked up in the server's own folder: a copy of
    // the installed module (a link is not followed there).
    const QString intl = installedIntl();
    if (intl.isEmpty()) {
        reason_ = QStringLiteral("libfbintl.so of firebird3.0-server-core not found");
        return false;
    }
    for (const char* file : {"libfbintl.so", "fbintl.conf"})
        if (!QFile::copy(intl + u'/' + QString::fromLatin1(file), root + QStringLiteral("/intl/") + QString::fromLatin1(file))) {
            reason_ = QStringLiteral("cannot copy ") + QString::fromLatin1(file);
            return false;
        }
    const QString version = QFileInfo(tree).fileName().mid(5);
    if (!QFile::copy(cacheDir() + QStringLiteral("/security3-") + version + QStringLiteral(".fdb"),
                     root + QStringLiteral("/security3.fdb"))) {
        reason_ = QStringLiteral("cannot copy the security database");
        return false;
    }
    QFile::setPermissions(root + QStringLiteral("/security3.fdb"), QFile::ReadOwner | QFile::WriteOwner);
    prepared_ = true;
    return true;
}

bool FbServer::launch(const QString& tree) {
    const QString root = dir_.filePath(QStringLiteral("root"));
    if (!writeFile(root + QStringLiteral("/firebird.conf"),
                   config(port_, root + QStringLiteral("/security3.fdb")) + extraConfig.toUtf8()) ||
        !writeFile(root + QStringLiteral("/databases.conf"), databasesConfig.toUtf8())) {
        reason_ = QStringLiteral("cannot write firebird.conf or databases.conf");
        return false;
    }
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(engineEnv(root, dir_.filePath(QStringLiteral("lock"))));
    process_->setWorkingDirectory(dir_.path());
    process_->setStandardOutputFile(dir_.filePath(QStringLiteral("server.log")), QIODevice::Append);
    process_->setStandardErrorFile(dir_.filePath(QStringLiteral("server.log")), QIODevice::Append);
    process_->setStandardInputFile(QProcess::nullDevice());
    // The server must not outlive a test program that crashes.
    process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    // No -p: the port and the bind address come from firebird.conf.
    process_->start(tree + QStringLiteral("/usr/sbin/firebird"), {});
    if (!process_->waitForStarted(5000)) {
        reason_ = QStringLiteral("the server did not start: ") + process_->errorString();
        process_.reset();
        return false;
    }
    return true;
}

bool FbServer::embeddedIsql(const QString& file, const QByteArray& script, QString* output) const {
    const QString root = dir_.filePath(QStringLiteral("root"));
    if (!writeFile(root + QStringLiteral("/databases.conf"), databasesConfig.toUtf8())) {
        *output = QStringLiteral("cannot write databases.conf");
        return false;
    }
    const Run r = run(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), file},
                      30000, dir_.path(), engineEnv(root, dir_.filePath(QStringLiteral("lock"))), script + "\nexit;\n");
    *output = r.output;
    return r.ok && r.output.trimmed().isEmpty();
}

bool FbServer::waitListening(int ms) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (listening(port_)) return true;
        if (process_->state() == QProcess::NotRunning) return false;
        QThread::msleep(10);
    }
    return false;
}

FbServer::Outcome FbServer::start() {
    if (running()) return Outcome::Started;
    // The program holds no administrator's password: the tests give theirs,
    // to this process and the programs it starts, as a shop's script would.
    qputenv("ISC_USER", kAdminUser);
    qputenv("ISC_PASSWORD", kAdminPassword);
    fb::defaultLogin() = {QString::fromLatin1(kAdminUser), QString::fromLatin1(kAdminPassword), QString()};
    bool unavailable = false;
    const QString tree = packageTree(&reason_, &unavailable);
    if (tree.isEmpty()) return unavailable ? Outcome::PackageUnavailable : Outcome::Failed;
    if (!prepareFolder(tree)) return Outcome::Failed;

    // A restart keeps the port that the workstations' path.txt names; the
    // first start takes a free one, and another should that be snatched.
    const bool restart = port_ != 0;
    for (int attempt = 0; attempt < (restart ? 1 : 3); ++attempt) {
        if (!restart) port_ = freePort();
        if (port_ == 0) {
            reason_ = QStringLiteral("no free port");
            return Outcome::Failed;
        }
        if (!launch(tree)) return Outcome::Failed;
        if (waitListening(kListenMs)) return Outcome::Started;
        kill();
    }
    QFile log(dir_.filePath(QStringLiteral("server.log")));
    log.open(QIODevice::ReadOnly);
    reason_ = QStringLiteral("the server does not listen on 127.0.0.1:%1: %2")
                  .arg(port_)
                  .arg(QString::fromLocal8Bit(log.readAll()).right(400));
    return Outcome::Failed;
}

bool FbServer::running() const { return process_ && process_->state() != QProcess::NotRunning; }

qint64 FbServer::pid() const { return running() ? process_->processId() : 0; }

void FbServer::stop() {
    if (!running()) return;
    process_->terminate();
    // A server that has refused a login sometimes ignores the request.
    if (!process_->waitForFinished(3000)) {
        process_->kill();
        process_->waitForFinished(5000);
    }
    process_.reset();
}

void FbServer::kill() {
    if (!running()) {
        process_.reset();
        return;
    }
    process_->kill();
    process_->waitForFinished(5000);
    process_.reset();
}

QString FbServer::makeDatabase(const QString& file, bool base) {
    fb::Connection db;
    db.databaseName = serverPath(file);
    db.create();
    if (base) fb::runScript(db, app::baseSchemaText());
    else app::createSchema(db, QStringLiteral("tests"));
    db.close();
    return db.databaseName;
}

}  // namespace support
