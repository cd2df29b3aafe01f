#pragma once
#include <QDialog>

class TCF2 : public QDialog {
    Q_OBJECT
public:
    explicit TCF2(QWidget* parent = nullptr);
};

extern TCF2* CF2;
