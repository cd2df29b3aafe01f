#pragma once
// The engine types with their specifications.
#include "catalogues/Dictionary2.h"

class TSE : public Dictionary2 {
    Q_OBJECT
public:
    explicit TSE(QWidget* parent = nullptr);
};

extern TSE* SE;
