#pragma once
// The engine's backup and restore services, reached through the client
// library's service manager: in this process for a local file (the embedded
// engine that may already hold the file open), or on the server for a server
// database ("host[/port]:path").
#include "fb/Login.h"

#include <QString>
#include <QStringList>

#include <functional>

class QFile;
namespace Firebird { class IService; }

namespace fb {

class Service {
public:
    // Each line of the engine's report as it comes (the progress of a run).
    using Lines = std::function<void(const QString& line)>;

    // Attaches to the service manager that serves `database`: "service_mgr"
    // for a local file, "host[/port]:service_mgr" for a server database.
    explicit Service(const QString& database, const QString& user = defaultLogin().user,
                     const QString& password = defaultLogin().password);
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    // A backup of `database` (as the constructor got it) into the local file
    // `file`, written under that very name (the caller chooses a temporary
    // one). A server sends the backup over the connection, so the file is
    // written here, not on the server, and its report has no lines. Returns
    // the report. Any error the engine reports, in its status or in a line of
    // its report, throws fb::Error; `file` may then hold part of a copy.
    QStringList backup(const QString& database, const QString& file, const Lines& progress = {});
    // Restores the backup `file` into the new database `database`; refuses a
    // database that exists. The file is read here and sent to the engine (to
    // a server over the connection). Any error the engine reports throws, a
    // copy cut short included, and the database the run began is dropped
    // again, on a server as in a local file. Returns the report.
    QStringList restore(const QString& file, const QString& database, const Lines& progress = {});

    // "service_mgr" or "host[/port]:service_mgr" for a database name.
    static QString managerFor(const QString& database);
    // The path of a database name without its "host[/port]:" part.
    static QString pathOf(const QString& database);
    // Whether a line of the engine's report tells of an error.
    static bool isErrorLine(const QString& line);

    // Whether an attachment to `database` succeeds (on a server, where a
    // file cannot be looked at from here).
    bool databaseExists(const QString& database);
    // Attaches to `database` and drops it: for a database a failed run made.
    // Whether it was dropped; a local file is removed when no attachment
    // takes it.
    bool dropDatabase(const QString& database);

private:
    void start(const std::vector<unsigned char>& spb);
    QStringList readLines(const Lines& progress);
    QStringList feedLines(QFile& in, const Lines& progress);
    void readData(const QString& file, const Lines& progress);
    bool attach(const QString& database, bool drop);
    void waitFinished();

    Firebird::IService* svc_ = nullptr;
    bool remote_ = false;
    QStringList runThreads_;  // the threads of this process the run started
    QString user_, password_;
};

}  // namespace fb
