#include "catalogues/SE.h"

TSE* SE = nullptr;

namespace {
const TwoLevelDictionaryConfig kConfig{
    "SE",
    "Справочник двигателей",
    app::kEngines,
    " ДВИГАТЕЛЬ",
    " СПЕЦИФИКАЦИИ",
    "Невозможно удалить двигатель - сперва удалите спецификации",
    60,
};
}  // namespace

TSE::TSE(QWidget* parent) : TwoLevelDictionary(kConfig, parent) {}
