#pragma once
// The makes with their models.
#include "catalogues/TwoLevelDictionary.h"

class TSM : public TwoLevelDictionary {
    Q_OBJECT
public:
    explicit TSM(QWidget* parent = nullptr);
};

extern TSM* SM;
