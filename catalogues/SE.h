#pragma once
// The engine types with their specifications.
#include "catalogues/TwoLevelDictionary.h"

class TSE : public TwoLevelDictionary {
    Q_OBJECT
public:
    explicit TSE(QWidget* parent = nullptr);
};

extern TSE* SE;
