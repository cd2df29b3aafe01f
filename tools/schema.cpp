#include "tools/DbTools.h"

#include "fb/Error.h"
#include "fb/Script.h"

#include <QCoreApplication>
#include <QFile>

namespace tools {

QString schemaText() {
    const QStringList candidates = {QCoreApplication::applicationDirPath() + QStringLiteral("/schema/dbase.sql"),
                                    QCoreApplication::applicationDirPath() + QStringLiteral("/../schema/dbase.sql"),
                                    QStringLiteral(TORQUIL_SOURCE_DIR "/schema/dbase.sql")};
    for (const QString& path : candidates) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) return QString::fromUtf8(f.readAll());
    }
    throw fb::Error(QStringLiteral("schema/dbase.sql not found beside the program"));
}

void createDatabase(fb::Connection& db, const QString& path) {
    db.databaseName = path;
    db.create();
    fb::runScript(db, schemaText());
}

}  // namespace tools
