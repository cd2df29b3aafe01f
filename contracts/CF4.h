#pragma once
// The spare picker: adds a spare-part line to the contract in the editor.
#include "contracts/LinePicker.h"

class TCF4 : public LinePicker {
    Q_OBJECT
public:
    explicit TCF4(QWidget* parent = nullptr);

    widgets::StringGrid* Grid_sp;  // the spares catalogue
    QLabel* sp_id;                 // hidden key of the taken row; "*" for a new name
};

extern TCF4* CF4;
