#pragma once
// The cars due for service: for every car the service it is due for (the
// one its newest contract that sets one set, else the shop's interval from
// its last visit), today's mileage estimated from its visits, and whether it
// is overdue or due soon. The reminders window, its printed list and
// `torquil-db report reminders` all show these rows.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace fb {
class Connection;
class Query;
class Transaction;
}  // namespace fb

namespace app {

struct ReminderTerms {
    QDate today;
    int days = 30;         // due within this many days
    int kmAhead = 1000;    // or within this many kilometres (estimated)
    int months = 12;       // the shop's interval, for cars whose contracts set no next service
    int km = 15000;
};

struct Reminder {
    int car = 0;
    QString owner, phone, model, plate;  // model: make and model; plate: number and region
    bool shownRead = true;               // false: the four above not read yet (readShownFields)
    QDate lastVisit;
    std::optional<qint64> lastKm;       // the last visit's mileage
    std::optional<qint64> estimatedKm;  // today's, from two or more visits with a mileage
    QDate dueDate;
    std::optional<qint64> dueKm;
    bool overdue = false;
    int contract = 0;  // the contract whose reminder date is shown and stored
    QDate reminded;
    double daysLeft = 0;  // to the nearer of the due date and the due mileage; below 0 when overdue
};

// The shop's interval as Settings hold it on this connection (the defaults
// when none is stored).
void readServiceInterval(fb::Connection& db, fb::Transaction& tr, ReminderTerms& terms);

// The cars overdue or due soon, overdue first, then the soonest first (one
// day's by the car's key). The database must have step 1; with step 8 the
// list reads the facts kept per car (Car_Visits), else every contract.
// Without `shownFields` (with step 8 only) the owner, phone, model and plate
// are left for readShownFields: the window reads them a screen at a time,
// since for the tens of thousands of cars a long-kept database lists they
// cost as much again as the rest.
QList<Reminder> dueForService(fb::Connection& db, fb::Transaction& tr, const ReminderTerms& terms,
                              bool shownFields = true);
// Reads the shown fields of the rows [from, to) that lack them.
void readShownFields(fb::Connection& db, fb::Transaction& tr, QList<Reminder>& rows, qsizetype from,
                     qsizetype to);

// With step 8, the one statement the list reads: the cars that may be due
// (a sure superset of them) with the facts kept per car, and the fields
// shown when asked; and its parameters for `terms`.
QStringList dueCarsStatement(bool shownFields = true);
void bindDueCars(fb::Query& q, const ReminderTerms& terms);

// Stores `date` as the day the customer was reminded of `contract`'s service,
// and commits.
void markReminded(fb::Connection& db, fb::Transaction& tr, int contract, const QDate& date);

// The columns and the row as the window, the printed list and the report
// show them.
QStringList reminderHeader();
QStringList reminderRow(const Reminder& r);
// Which columns hold numbers (aligned right).
QList<bool> reminderNumberColumns();

// The status words.
QString reminderStatus(const Reminder& r);

}  // namespace app
