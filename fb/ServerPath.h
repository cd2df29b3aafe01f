#pragma once
// A database name as the client library takes it: "host:path" or
// "host/port:path" names a file on a server (a host of two or more
// characters, so "C:\dir\file.fdb" stays a local path); anything else is a
// local file.
#include <QString>

namespace fb {

struct ServerPath {
    QString server;  // "host" or "host/port"; empty for a local file
    QString file;    // the path as the server sees it, or the local path

    bool remote() const { return !server.isEmpty(); }
    static ServerPath parse(const QString& database);
};

}  // namespace fb
