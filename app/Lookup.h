#pragma once
// Filling the name combos from the dictionaries, and the row marker read-back.
#include <QString>
#include <QStringList>

namespace fb { class Query; }
namespace widgets { class UpperCombo; }

namespace app {

struct DictionaryTables;

// Every name of the table in name order; the table name is part of the text.
QStringList dictionaryNames(const QString& table);
// The key of the first master row named exactly `name` (0 when none), then
// the names of its detail rows in name order.
int masterKey(const QString& masterTable, const QString& name);
QStringList detailNames(const QString& detailTable, const QString& link, int masterKey);

// The box's list gets every name of the table; its edit text stays.
void FillNameCombo(widgets::UpperCombo* box, const QString& table);
// The detail box's list and text are cleared, then the list gets the detail
// names of the master named by the master box's text.
void FillDependentCombo(widgets::UpperCombo* master, widgets::UpperCombo* detail, const QString& masterTable,
                        const QString& detailTable, const QString& link);
void FillDependentCombo(widgets::UpperCombo* master, widgets::UpperCombo* detail, const DictionaryTables& tables);

// The LIKE pattern of a prefix filter: the text followed by "%", except when
// the text already fills its column, where the "%" would not fit the
// parameter (and the text alone matches the same rows).
QString prefixPattern(const QString& text, int columnLength);
// Binds the prefix filter of a typed text. A filter writes nothing, so a
// character that Windows-1251 cannot hold is no error there: no stored name
// has it, and the parameter is NULL, which no "x LIKE" condition passes.
void bindPrefix(fb::Query& q, const QString& param, const QString& text, int columnLength);

// The key of the row that carries the marker; the last of several. No such
// row is an error: a key of 0 would point the caller at no row.
int readBackKey(const QString& table, const QString& marker);

}  // namespace app
