#pragma once
// A car's mileage at its visits: what may be typed as one, the visit a new
// reading is compared with, and the distance the car covers in a year.
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace app {

constexpr int kMaxMileage = 9999999;

// A typed mileage: a whole number from 0 to kMaxMileage, blanks around it
// allowed. An empty text is "none" (-1). nullopt: not a mileage.
std::optional<int> parseMileage(const QString& text);

struct Visit {
    QDate date;
    int km = -1;  // -1: none recorded
};

// The reading a contract's mileage should not fall below: the latest visit
// of car `car` with a mileage that came before the contract `contract` dated
// `date`. Before means an earlier date, or the same date and entered
// earlier (a smaller key; a new contract, -1, comes after every stored one).
// A visit with km -1 when there is none.
Visit earlierVisit(int car, const QDate& date, int contract);

// The average distance per year from the first visit with a mileage to the
// last (by date); none from fewer than two such visits on different dates
// or from a mileage that went back.
std::optional<int> yearlyDistance(QList<Visit> visits);

}  // namespace app
