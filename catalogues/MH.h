#pragma once
#include <QDialog>

class TMH : public QDialog {
    Q_OBJECT
public:
    explicit TMH(QWidget* parent = nullptr);
};

extern TMH* MH;
