#include "contracts/CF3.h"

TCF3* CF3 = nullptr;

TCF3::TCF3(QWidget* parent) : LinePicker(kWorkPicker, parent), Grid_work(grid()), work_id(keyLabel()) {}
