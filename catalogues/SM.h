#pragma once
// The makes with their models.
#include "catalogues/Dictionary2.h"

class TSM : public Dictionary2 {
    Q_OBJECT
public:
    explicit TSM(QWidget* parent = nullptr);
};

extern TSM* SM;
