#include "catalogues/SM.h"

TSM* SM = nullptr;

namespace {
const Dictionary2Config kConfig{
    "SM",
    "Справочник фирм-производителей, моделей машин",
    "dev",
    "models",
    "dv_fk",
    " ФИРМА",
    " МОДЕЛИ",
    "Невозможно удалить фирму - сперва удалите модели",
    40,
};
}  // namespace

TSM::TSM(QWidget* parent) : Dictionary2(kConfig, parent) {}
