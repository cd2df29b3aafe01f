#pragma once
#include <QDialog>

class TVR : public QDialog {
    Q_OBJECT
public:
    explicit TVR(QWidget* parent = nullptr);
};

extern TVR* VR;
