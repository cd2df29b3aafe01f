#pragma once
// Making databases: the schema, the demo data and bulk data for the benchmark.
#include "fb/Connection.h"

#include <QDate>
#include <QString>

namespace tools {

struct BenchSize {
    int contracts = 100000;
    int cars = 50000;
    int works = 2000;
    int spares = 5000;
    int worksPerContract = 5;
    int sparesPerContract = 3;
};

// Creates the database at `path` with the newest schema (the base script and
// every step) and leaves `db` attached.
void createDatabase(fb::Connection& db, const QString& path);
// Demo data: dictionaries, catalogues, mechanics, ~60 cars, ~300 contracts
// spread over the year of `today` and the year before.
void fillDemo(fb::Connection& db, const QDate& today);
void fillBench(fb::Connection& db, const BenchSize& size);

}  // namespace tools
