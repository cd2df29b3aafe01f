#pragma once
// Find-or-insert of a master name and its detail name in a two-level
// dictionary (make/model, engine/specification, body/specification).
#include <QString>

namespace app {

struct DictionaryTables;

void EnsureDictionaryPair(const QString& master, const QString& detail, const QString& masterTable,
                          const QString& detailTable, const QString& keyColumn);
void EnsureDictionaryPair(const QString& master, const QString& detail, const DictionaryTables& tables);

}  // namespace app
