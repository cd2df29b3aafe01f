#include "support/Cars.h"

#include "app/DM.h"
#include "support/TestDb.h"

namespace support {

int addCar(const Columns& columns) {
    Columns values = {{"dev", "ВАЗ"},    {"mod", "2107"},     {"gnum", "А001АА"}, {"region", "77"},
                      {"d_year", 2005},  {"vin", "VIN1"},     {"color", "БЕЛЫЙ"}, {"engine", "БЕНЗИН"},
                      {"engine2", "1.6"}, {"body", "СЕДАН"},   {"body2", "4Д"},    {"km", 120000},
                      {"owner", "ИВАНОВ"}, {"phone", "123"}};
    for (const auto& [name, value] : columns) {
        auto it = std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.first == name; });
        if (it == values.end()) qFatal("no column %s in Cars", qPrintable(name));
        it->second = value;
    }
    QStringList names, params;
    for (const auto& v : values) names << v.first, params << ":" + v.first;
    DM->IBTrans.endRead();
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, "INSERT INTO Cars (" + names.join(", ") + ") VALUES (" + params.join(", ") + ")");
    for (const auto& [name, value] : values) {
        if (value.isNull())
            q.setNull(name);
        else if (value.typeId() == QMetaType::Int)
            q.setInteger(name, value.toInt());
        else
            q.setString(name, value.toString());
    }
    DM->execCommit(q);
    return lastKey("Cars");
}

}  // namespace support
