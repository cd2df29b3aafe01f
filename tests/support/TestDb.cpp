#include "support/TestDb.h"

#include "app/DM.h"
#include "app/SchemaSteps.h"
#include "app/SchemaUpgrade.h"
#include "program/Windows.h"
#include "contracts/MF.h"
#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Script.h"
#include "fb/Transaction.h"

#include <QFile>

namespace support {

QString schemaPath() { return QStringLiteral(TORQUIL_SCHEMA); }

QString makeDatabase(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    fb::Connection db;
    db.databaseName = path;
    db.create();
    app::createSchema(db, QStringLiteral("tests"));
    db.close();
    return path;
}

QString makeDatabaseAt(const QTemporaryDir& dir, int version, const QString& name) {
    const QString path = makeBaseDatabase(dir, name);
    fb::Connection db;
    db.databaseName = path;
    db.open();
    app::applySchemaSteps(db, QStringLiteral("tests"), version);
    db.close();
    return path;
}

QString makeBaseDatabase(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QFile f(schemaPath());
    if (!f.open(QIODevice::ReadOnly)) qFatal("schema not found: %s", qPrintable(schemaPath()));
    fb::Connection db;
    db.databaseName = path;
    db.create();
    fb::runScript(db, QString::fromUtf8(f.readAll()));
    db.close();
    return path;
}

void connectDataModule(const QString& path) {
    if (!DM) DM = new TDM;
    DM->IBDbase.databaseName = path;
    app::prepareSchemaAtStart(path);
    DM->IBDbase.open();
    DM->IBTrans.forRead();
    app::tellSchemaNews();
}

QString openWindows(const QTemporaryDir& dir) {
    const QString path = makeDatabase(dir);
    program::createForms();
    MF->FirstActivation = false;
    connectDataModule(path);
    return path;
}

void dropDataModule() {
    delete DM;
    DM = nullptr;
}

void exec(const QString& sql) {
    DM->IBTrans.endRead();
    TDM::reset(DM->iSQL2, sql);
    DM->execCommit(DM->iSQL2);
}

QString scalar(const QString& sql) {
    TDM::reset(DM->iSQL2, sql);
    DM->iSQL2.open();
    const QString v = DM->iSQL2.field(0).asString();
    DM->iSQL2.close();
    return v;
}

int lastKey(const QString& table) { return scalar("SELECT MAX(pk_id) FROM " + table).toInt(); }

int count(const QString& table, const QString& where) {
    return scalar("SELECT COUNT(*) FROM " + table + (where.isEmpty() ? QString() : " WHERE " + where)).toInt();
}

QStringList column(const QString& sql) {
    TDM::reset(DM->iSQL2, sql);
    DM->iSQL2.open();
    QStringList values;
    for (; !DM->iSQL2.eof(); DM->iSQL2.next()) values << DM->iSQL2.field(0).asString();
    DM->iSQL2.close();
    return values;
}

QStringList rows(fb::Connection& db, const QString& sql) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({sql});
    q.open();
    QStringList out;
    for (int r = 0; r < q.recordCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < q.rows().columnCount(); ++c)
            cells << (q.rows().isNull(r, c) ? QStringLiteral("<null>") : q.rows().text(r, c));
        out << cells.join(u'|');
    }
    return out;
}

}  // namespace support
