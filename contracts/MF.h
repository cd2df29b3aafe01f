#pragma once
#include <QMainWindow>

class TMF : public QMainWindow {
    Q_OBJECT
public:
    explicit TMF(QWidget* parent = nullptr);
    bool FirstActivation = true;
    bool NewDoc = false;
    bool EditDoc = false;
    void FormActivate();
};

extern TMF* MF;
