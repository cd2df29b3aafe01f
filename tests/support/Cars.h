#pragma once
// Stored cars for the tests.
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace support {

using Columns = QList<QPair<QString, QVariant>>;

// Stores a car and returns its key. Each column of Cars takes its value from
// `columns`, or else the fixed one: dev "ВАЗ", mod "2107", gnum "А001АА",
// region "77", d_year 2005, vin "VIN1", color "БЕЛЫЙ", engine "БЕНЗИН",
// engine2 "1.6", body "СЕДАН", body2 "4Д", km 120000, owner "ИВАНОВ",
// phone "123". A null QVariant stores NULL. The values go as parameters, so
// quotes need no doubling.
int addCar(const Columns& columns = {});

}  // namespace support
