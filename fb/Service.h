#pragma once
// The engine's backup and restore services, reached through the client
// library's service manager: in this process for a local file (the embedded
// engine that may already hold the file open), or on the server for a server
// database ("host[/port]:path").
#include <QString>
#include <QStringList>

#include <functional>

namespace Firebird { class IService; }

namespace fb {

class Service {
public:
    // Each line of the engine's report as it comes (the progress of a run).
    using Lines = std::function<void(const QString& line)>;

    // Attaches to the service manager that serves `database`: "service_mgr"
    // for a local file, "host[/port]:service_mgr" for a server database.
    explicit Service(const QString& database, const QString& user = QStringLiteral("sysdba"),
                     const QString& password = QStringLiteral("quillstem"));
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    // A backup of `database` (as the constructor got it) into the local file
    // `file`. A server sends the backup over the connection, so the file is
    // written here, not on the server. Throws fb::Error with the engine's text;
    // a failed run leaves no file behind.
    void backup(const QString& database, const QString& file, const Lines& progress = {});
    // Restores the backup `file` into the new database `database`; refuses a
    // database that exists. For a server database the file is the server's.
    void restore(const QString& file, const QString& database, const Lines& progress = {});

    // "service_mgr" or "host[/port]:service_mgr" for a database name.
    static QString managerFor(const QString& database);
    // The path of a database name without its "host[/port]:" part.
    static QString pathOf(const QString& database);

private:
    void start(const std::vector<unsigned char>& spb);
    void readLines(const Lines& progress, QStringList* all);
    void readData(const QString& file, const Lines& progress);

    Firebird::IService* svc_ = nullptr;
    bool remote_ = false;
};

}  // namespace fb
