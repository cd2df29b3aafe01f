#pragma once
// The spare-parts catalogue: the table Spares, names with their prices,
// article numbers and makers.
#include "catalogues/PricedCatalogue.h"

class TSP : public PricedCatalogue {
    Q_OBJECT
public:
    explicit TSP(QWidget* parent = nullptr);

    widgets::StringGrid* Grid_Sp;
    QToolButton* ToolButton7;  // delete

public slots:
    void ToolButton7Click();
    void Grid_SpClick();
    void Grid_SpDblClick();
    void Grid_SpKeyDown();
};

extern TSP* SP;
