#pragma once
// The change log's entries for the "Журнал изменений" window.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace fb { class Connection; }

namespace app {

struct ChangeFilter {
    QDate from, to;        // the period, both days included
    QString user;          // the login, empty for all
    int contractNum = 0;   // the contract's number, 0 for all
};

// Each entry: time, user, table, row key, contract key, action, old values,
// new values; newest first.
std::vector<QStringList> changeLog(fb::Connection& db, const ChangeFilter& filter);

// Who created a contract and who changed it (its lines, payments and the
// customer's parts included) last, and when; empty names where the log has
// no entry (a contract older than the log).
struct ContractAuthors {
    QString createdBy, changedBy;
    QDateTime createdAt, changedAt;
};
ContractAuthors contractAuthors(fb::Connection& db, int contractKey);
// The editor's status line: "Создал ИВАНОВ 10.12.2026 9:05; изменил ПЕТРОВ
// 11.12.2026 14:30", the second part only after a later change; empty
// without entries.
QString authorsText(const ContractAuthors& a);
// The number of the contract with key `contractKey`; empty when it is gone.
QString contractNumber(fb::Connection& db, int contractKey);

}  // namespace app
