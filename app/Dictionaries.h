#pragma once
// The two-level dictionaries of a car's fields: the master table, the detail
// table and the detail column holding the master key, as schema/dbase.sql
// declares them. The car fields, the journal's filters and the dictionary
// windows all name them from here.
namespace app {

struct DictionaryTables {
    const char* master;
    const char* detail;
    const char* link;
};

inline constexpr DictionaryTables kMakes{"dev", "models", "dv_fk"};
inline constexpr DictionaryTables kEngines{"engines", "engine_sp", "en_fk"};
inline constexpr DictionaryTables kBodies{"body", "body_sp", "bd_fk"};

}  // namespace app
