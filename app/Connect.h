#pragma once
// Locating the database file and connecting to it, once per run.
#include <QString>

namespace app {

// Where the database was found: the path (empty when none), and whether the
// program must end (no usable file).
struct DatabaseLocation {
    QString path;
    bool found = false;
};

// Steps 1-5: dbase.fdb beside the program, else the first line of path.txt.
// Shows "Файл пути к базе данных не найден..." when path.txt is missing;
// throws std::runtime_error ("Не удалось прочитать файл path.txt: ...") when
// it is there but cannot be read.
QString locateDatabasePath();
// The file test, which a server path ("host[/port]:path") skips.
bool databaseFileExists(const QString& path);

// The whole routine: locate, connect DM->IBDbase, start DM->IBTrans. Returns
// false when the program is to end (the messages shown as the case asks).
// Connection failures throw the database layer's error.
bool ConnectDatabase();

// Ends the program: asks the application to quit and remembers that it did.
void terminateProgram();
bool terminationRequested();
void resetTermination();

extern const char* const kNoPathFileMessage;
extern const char* const kNoDatabaseMessage;

}  // namespace app
