#pragma once
#include <QWidget>

class TSE : public QWidget {
    Q_OBJECT
public:
    explicit TSE(QWidget* parent = nullptr);
};

extern TSE* SE;
