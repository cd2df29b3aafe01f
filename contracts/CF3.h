#pragma once
// The work picker: adds a work line to the contract in the editor.
#include "contracts/LinePicker.h"

class TCF3 : public LinePicker {
    Q_OBJECT
public:
    explicit TCF3(QWidget* parent = nullptr);

    widgets::StringGrid* Grid_work;  // the works catalogue
    QLabel* work_id;                 // hidden key of the taken row; "*" for a new name
};

extern TCF3* CF3;
