#include "contracts/CF4.h"

TCF4* CF4 = nullptr;

TCF4::TCF4(QWidget* parent) : LinePicker(kSparePicker, parent), Grid_sp(grid()), sp_id(keyLabel()) {}
