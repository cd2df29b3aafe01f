#include "app/Connect.h"

#include "app/DM.h"
#include "app/Login.h"
#include "app/LoginRights.h"
#include "app/QuitOnSignal.h"
#include "app/SchemaUpgrade.h"
#include "rtl/ProgramFolder.h"
#include "app/StatusLine.h"
#include "fb/Connection.h"
#include "fb/Reconnect.h"
#include "rtl/Marker.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace app {

const char* const kNoPathFileMessage =
    "Файл пути к базе данных не найден\rСоздайте в папке программы файл path.txt\rи запишите туда путь к б.д.";
const char* const kNoDatabaseMessage = "Файл базы данных не найден\rпрограмма будет закрыта";

namespace {
bool& terminated() {
    static bool t = false;
    return t;
}

std::string pathFileUnreadable(const QFile& file) {
    return QStringLiteral("Не удалось прочитать файл path.txt: %1\rпрограмма будет закрыта")
        .arg(file.errorString())
        .toStdString();
}

bool fileExists(const QString& path) {
    const QFileInfo fi(path);
    return fi.exists() && !fi.isDir();
}

// Through a server other workstations insert at the same time: the row
// markers of this one carry its attachment id, which a new attachment changes.
void tagMarkers() {
    rtl::setMarkerTag(QString());
    if (!fb::Connection::isRemotePath(DM->IBDbase.databaseName)) return;
    fb::Query q(&DM->IBDbase, &DM->IBTrans);
    q.setSQL({QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")});
    q.open();
    rtl::setMarkerTag(u'#' + q.field(0).asString());
}

// A lost server is attached again at the next action; meanwhile the
// journal's status line says so.
void rideOutRestarts() {
    fb::ReconnectPolicy& policy = fb::reconnectPolicy();
    policy.waiting = [](bool waiting) {
        showStatus(waiting ? QStringLiteral("Нет связи с сервером…") : QString());
    };
    policy.reattached = &tagMarkers;
}
}  // namespace

QString locateDatabasePath() {
    const QString candidate = rtl::inProgramFolder(QStringLiteral("dbase.fdb"));
    // A program started from a network share or a root always reads path.txt.
    const bool doubled = candidate.contains(QStringLiteral("\\\\")) || candidate.contains(QStringLiteral("//"));
    if (fileExists(candidate) && !doubled) return candidate;

    QFile pathFile(rtl::inProgramFolder(QStringLiteral("path.txt")));
    if (!pathFile.exists()) {
        widgets::showMessage(QString::fromUtf8(kNoPathFileMessage));
        return QString();
    }
    // A file that is there but cannot be read is not a missing database.
    if (!pathFile.open(QIODevice::ReadOnly)) throw std::runtime_error(pathFileUnreadable(pathFile));
    QByteArray line = pathFile.readLine();
    if (line.isEmpty() && pathFile.error() != QFileDevice::NoError)
        throw std::runtime_error(pathFileUnreadable(pathFile));
    // The first line up to its end, blanks kept.
    const qsizetype cut = line.indexOf('\n');
    if (cut >= 0) line.truncate(cut);
    if (line.endsWith('\r')) line.chop(1);
    return QString::fromUtf8(line);
}

bool databaseFileExists(const QString& path) {
    if (path.isEmpty()) return false;
    if (fb::Connection::isRemotePath(path)) return true;
    return fileExists(path);
}

bool ConnectDatabase() {
    QString path;
    try {
        path = locateDatabasePath();
    } catch (const std::runtime_error& e) {
        widgets::showMessage(QString::fromUtf8(e.what()));
        terminateProgram();
        return false;
    }
    if (!databaseFileExists(path)) {
        widgets::showMessage(QString::fromUtf8(kNoDatabaseMessage));
        terminateProgram();
        return false;
    }
    DM->IBDbase.databaseName = path;
    const bool server = fb::Connection::isRemotePath(path);
    if (server) {
        // A server asks who works: the login and its role, before anything else.
        if (!logIn(DM->IBDbase)) {
            terminateProgram();
            return false;
        }
    } else {
        // One computer: the file's rights decide; the engine takes the
        // administrator's name and no password.
        DM->IBDbase.userName = QStringLiteral("SYSDBA");
        DM->IBDbase.password.clear();
        DM->IBDbase.role.clear();
        setCurrentRole(Role::Owner);
    }
    {
        // The engine puts its own handlers on the ending signals as it attaches.
        EndingSignalsHeld held;
        // Before DM attaches: no statement of the program is prepared on an
        // older schema, and DM's attachment has no part in the steps.
        prepareSchemaAtStart(path);
        DM->IBDbase.open();
    }
    tellSchemaNews();
    if (!server) nameSessionUser(DM->IBDbase);
    // Reading starts at once (a database that refuses transactions says so
    // here); no read-write transaction stays open until the first write.
    DM->IBTrans.forRead();
    tagMarkers();
    rideOutRestarts();
    applyRole();
    return true;
}

void terminateProgram() {
    terminated() = true;
    QCoreApplication::exit(0);
}

bool terminationRequested() { return terminated(); }
void resetTermination() { terminated() = false; }

}  // namespace app
