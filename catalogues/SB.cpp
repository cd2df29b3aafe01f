#include "catalogues/SB.h"

TSB* SB = nullptr;

namespace {
const TwoLevelDictionaryConfig kConfig{
    "SB",
    "Справочник кузовов",
    "body",
    "body_sp",
    "bd_fk",
    " КУЗОВ",
    " СПЕЦИФИКАЦИИ",
    "Невозможно удалить кузов - сперва удалите спецификации",
    60,
};
}  // namespace

TSB::TSB(QWidget* parent) : TwoLevelDictionary(kConfig, parent) {}
