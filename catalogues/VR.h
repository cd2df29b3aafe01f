#pragma once
// The works catalogue: the table Works, names with their prices.
#include "catalogues/PricedCatalogue.h"

class TVR : public PricedCatalogue {
    Q_OBJECT
public:
    explicit TVR(QWidget* parent = nullptr);

    widgets::StringGrid* Grid_work;
    QToolButton* ToolButton10;  // delete

public slots:
    void ToolButton10Click();
    void Grid_workClick();
    void Grid_workKeyDown();
};

extern TVR* VR;
