#pragma once
// A private Firebird server for the tests, the way a shop runs one: the
// Debian server package is downloaded (not installed) into a cache folder and
// unpacked once; each FbServer gets its own folder with its own firebird.conf,
// security database (SYSDBA with the tests' own password), lock folder and port on 127.0.0.1,
// and is stopped by its PID.
//
// Only fetching the package may fail for reasons outside the test (no apt
// access); FBSERVER_START_OR_SKIP turns that into a skip with the reason
// (a failure under CI, see Skip.h).
// Every other failure is a test failure. Every wait is bounded.
#include "support/Skip.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

namespace support {

class FbServer {
public:
    FbServer();
    ~FbServer();
    FbServer(const FbServer&) = delete;
    FbServer& operator=(const FbServer&) = delete;

    // The administrator of the tests' servers; start() makes it the login of
    // this process (ISC_USER / ISC_PASSWORD, fb::defaultLogin()).
    static constexpr const char* kAdminUser = "SYSDBA";
    static constexpr const char* kAdminPassword = "quillstem";
    // Lines added to the server's firebird.conf (before start()).
    QString extraConfig;
    // The server's databases.conf (before start()).
    QString databasesConfig;

    enum class Outcome { Started, PackageUnavailable, Failed };
    // Prepares the folder (once) and starts the server; waits until it listens.
    Outcome start();
    // Why start() did not give Started.
    QString reason() const { return reason_; }

    // SIGTERM, then SIGKILL when it has not gone within a few seconds.
    void stop();
    // SIGKILL at once: the server dies as in a power cut.
    void kill();
    bool running() const;
    qint64 pid() const;

    int port() const { return port_; }
    // A folder for database files that the server opens (it runs as we do).
    QString dataDir() const;
    // "127.0.0.1/PORT:<dataDir>/<file>"
    QString serverPath(const QString& file) const;

    // Runs `script` in isql-fb on the database file `file` through the
    // embedded engine with the server's configuration, databasesConfig
    // included (the server stopped);
    // false with isql's output in `output` when it fails.
    bool embeddedIsql(const QString& file, const QByteArray& script, QString* output) const;

    // Creates a database through the server with the newest schema (`base`:
    // schema/dbase.sql alone, version 0); returns its server path.
    QString makeDatabase(const QString& file = QStringLiteral("dbase.fdb"), bool base = false);

    // The unpacked package tree (fetched into the cache on first use), or an
    // empty string with the reason. The cache is $TORQUIL_FBSERVER_CACHE, or
    // fbserver/ under the build folder.
    static QString packageTree(QString* reason, bool* unavailable);

private:
    bool prepareFolder(const QString& tree);
    bool launch(const QString& tree);
    bool waitListening(int ms);

    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    bool prepared_ = false;
    QString reason_;
};

}  // namespace support

// Starts `server` or ends the test: a skip when the server package cannot be
// fetched (a failure under CI), QFAIL on any other failure.
#define FBSERVER_START_OR_SKIP(server)                                                           \
    do {                                                                                         \
        const auto outcome_ = (server).start();                                                  \
        if (outcome_ == support::FbServer::Outcome::PackageUnavailable)                          \
            SKIP_OR_FAIL_UNDER_CI(QStringLiteral("no Firebird server package: ") + (server).reason()); \
        if (outcome_ == support::FbServer::Outcome::Failed) QFAIL(qPrintable((server).reason()));  \
    } while (0)
