#pragma once
// The body types with their specifications.
#include "catalogues/TwoLevelDictionary.h"

class TSB : public TwoLevelDictionary {
    Q_OBJECT
public:
    explicit TSB(QWidget* parent = nullptr);
};

extern TSB* SB;
