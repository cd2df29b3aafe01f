#pragma once
#include <QWidget>

class TSM : public QWidget {
    Q_OBJECT
public:
    explicit TSM(QWidget* parent = nullptr);
};

extern TSM* SM;
