#pragma once
#include <QDialog>

class TSP : public QDialog {
    Q_OBJECT
public:
    explicit TSP(QWidget* parent = nullptr);
};

extern TSP* SP;
