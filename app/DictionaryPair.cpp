#include "app/DictionaryPair.h"

#include "app/Dictionaries.h"

#include "app/DM.h"

namespace app {

namespace {

// Reads a statement of iSQL whole; the names are bound, so a quote in them is
// just a letter.
void openNamed(const QString& sql, const QString& name) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, sql);
    q.setString(QStringLiteral("name"), name);
    q.open();
}

}  // namespace

void EnsureDictionaryPair(const QString& master, const QString& detail, const QString& masterTable,
                          const QString& detailTable, const QString& keyColumn) {
    fb::Query& q = DM->iSQL;

    // The master row: found by its exact name (first row), or inserted.
    openNamed(QStringLiteral("SELECT pk_id, name FROM ") + masterTable + QStringLiteral(" WHERE name = :name"), master);
    if (q.recordCount() == 0) {
        TDM::reset(q, QStringLiteral("INSERT INTO ") + masterTable + QStringLiteral(" (name) VALUES (:name)"));
        q.setString(QStringLiteral("name"), master);
        DM->execCommit(q);
        openNamed(QStringLiteral("SELECT pk_id FROM ") + masterTable + QStringLiteral(" WHERE name = :name"), master);
    }
    const int masterKey = q.field(QStringLiteral("pk_id")).asInteger();
    q.close();

    // The detail name is looked up under every master, not only this one.
    openNamed(QStringLiteral("SELECT name FROM ") + detailTable + QStringLiteral(" WHERE name = :name"), detail);
    const bool known = q.recordCount() > 0;
    q.close();
    if (known) return;
    TDM::reset(q, QStringLiteral("INSERT INTO ") + detailTable + QStringLiteral(" (name, ") + keyColumn +
                      QStringLiteral(" ) VALUES (:name, :") + keyColumn + QStringLiteral(")"));
    q.setString(QStringLiteral("name"), detail);
    q.setInteger(keyColumn, masterKey);
    DM->execCommit(q);
    q.close();
}

void EnsureDictionaryPair(const QString& master, const QString& detail, const DictionaryTables& tables) {
    EnsureDictionaryPair(master, detail, QString::fromLatin1(tables.master), QString::fromLatin1(tables.detail),
                         QString::fromLatin1(tables.link));
}

}  // namespace app
