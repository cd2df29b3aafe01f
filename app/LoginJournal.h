#pragma once
// The change log's entries for the "Журнал изменений" window.
#include <QDate>
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

}  // namespace app
