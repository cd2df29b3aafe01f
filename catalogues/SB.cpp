#include "catalogues/SB.h"

TSB* SB = nullptr;

namespace {
const Dictionary2Config kConfig{
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

TSB::TSB(QWidget* parent) : Dictionary2(kConfig, parent) {}
