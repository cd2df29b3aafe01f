#pragma once
#include <QWidget>

class TDC : public QWidget {
    Q_OBJECT
public:
    explicit TDC(QWidget* parent = nullptr);
};

extern TDC* DC;
