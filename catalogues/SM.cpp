#include "catalogues/SM.h"

TSM* SM = nullptr;

namespace {
const TwoLevelDictionaryConfig kConfig{
    "SM",
    "Справочник фирм-производителей, моделей машин",
    app::kMakes,
    " ФИРМА",
    " МОДЕЛИ",
    "Невозможно удалить фирму - сперва удалите модели",
    40,
};
}  // namespace

TSM::TSM(QWidget* parent) : TwoLevelDictionary(kConfig, parent) {}
