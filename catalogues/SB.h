#pragma once
// The body types with their specifications.
#include "catalogues/Dictionary2.h"

class TSB : public Dictionary2 {
    Q_OBJECT
public:
    explicit TSB(QWidget* parent = nullptr);
};

extern TSB* SB;
