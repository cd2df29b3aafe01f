#pragma once
// The ten columns of a list of cars (the car picker's and the car
// directory's), made from the fetched rows when the grid asks for them.
#include "fb/RowSet.h"
#include "widgets/GridRows.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace cars {

struct CarListStyle {
    QString gap;               // between make and model, and between number and region
    bool blankWithoutMileage;  // a car stored without mileage shows none (else 0)
};

// The columns of Cars a list keeps (to open its statement with).
const QStringList& carListColumns();

// `fetched`: rows opened with carListColumns().
std::shared_ptr<const widgets::GridRows> carListRows(fb::RowSet fetched, const CarListStyle& style);

}  // namespace cars
