#pragma once
#include <QWidget>

class TSB : public QWidget {
    Q_OBJECT
public:
    explicit TSB(QWidget* parent = nullptr);
};

extern TSB* SB;
