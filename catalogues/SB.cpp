#include "catalogues/SB.h"

TSB* SB = nullptr;

namespace {
const TwoLevelDictionaryConfig kConfig{
    "SB",
    "Справочник кузовов",
    app::kBodies,
    " КУЗОВ",
    " СПЕЦИФИКАЦИИ",
    "Невозможно удалить кузов - сперва удалите спецификации",
    60,
};
}  // namespace

TSB::TSB(QWidget* parent) : TwoLevelDictionary(kConfig, parent) {}
