#include "app/Lookup.h"

#include "app/Dictionaries.h"

#include "app/DM.h"
#include "fb/Cp1251.h"
#include "widgets/UpperCombo.h"

#include <stdexcept>

namespace app {

QStringList dictionaryNames(const QString& table) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY name"));
    q.open();
    QStringList names;
    names.reserve(q.recordCount());
    const fb::Field name = q.field(QStringLiteral("name"));
    for (; !q.eof(); q.next()) names << name.asString();
    q.close();
    return names;
}

int masterKey(const QString& masterTable, const QString& name) {
    if (!fb::fitsCp1251(name)) return 0;  // typed into a filter: no stored name has it
    fb::Query& q = DM->iSQL;
    // The name is bound, not pasted between quotes: a quote in it is just a letter.
    TDM::reset(q, QStringLiteral("SELECT pk_id FROM ") + masterTable + QStringLiteral(" WHERE name = :name ORDER BY name"));
    q.setString(QStringLiteral("name"), name);
    q.open();
    q.first();
    const int key = q.field(QStringLiteral("pk_id")).asInteger();  // 0 when no row
    q.close();
    return key;
}

QStringList detailNames(const QString& detailTable, const QString& link, int key) {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT * FROM ") + detailTable + QStringLiteral(" WHERE ") + link +
                      QStringLiteral(" = :fk ORDER BY name"));
    q.setInteger(QStringLiteral("fk"), key);
    q.open();
    QStringList names;
    const fb::Field name = q.field(QStringLiteral("name"));
    for (; !q.eof(); q.next()) names << name.asString();
    q.close();
    return names;
}

void FillNameCombo(widgets::UpperCombo* box, const QString& table) {
    // Read first: a failed read leaves the list as it was.
    const QStringList names = dictionaryNames(table);
    box->clearItems();
    box->setItems(names);
}

void FillDependentCombo(widgets::UpperCombo* master, widgets::UpperCombo* detail, const QString& masterTable,
                        const QString& detailTable, const QString& link) {
    const int key = masterKey(masterTable, master->text());
    const QStringList names = detailNames(detailTable, link, key);
    detail->clearItems();
    detail->setText(QString());
    detail->setItems(names);
}

QString prefixPattern(const QString& text, int columnLength) {
    return text.size() < columnLength ? text + u'%' : text;
}

void bindPrefix(fb::Query& q, const QString& param, const QString& text, int columnLength) {
    if (fb::fitsCp1251(text))
        q.setString(param, prefixPattern(text, columnLength));
    else
        q.setNull(param);
}

int readBackKey(const QString& table, const QString& marker) {
    fb::Query& q = DM->iSQL;
    // Ordered by key: with no order the engine returns rows in storage order,
    // and a new row may fill the space of a deleted one.
    TDM::reset(q, QStringLiteral("SELECT pk_id FROM ") + table + QStringLiteral(" WHERE sysinfo=:sysinfo ORDER BY pk_id"));
    q.setString(QStringLiteral("sysinfo"), marker);
    q.open();
    if (q.recordCount() == 0) {
        q.close();
        throw std::runtime_error(QStringLiteral("Не удалось прочитать ключ новой записи: в таблице %1 нет строки "
                                                "с отметкой «%2».")
                                     .arg(table, marker)
                                     .toStdString());
    }
    q.last();
    const int key = q.field(QStringLiteral("pk_id")).asInteger();
    q.close();
    return key;
}

void FillDependentCombo(widgets::UpperCombo* master, widgets::UpperCombo* detail, const DictionaryTables& tables) {
    FillDependentCombo(master, detail, QString::fromLatin1(tables.master), QString::fromLatin1(tables.detail),
                       QString::fromLatin1(tables.link));
}

}  // namespace app
