#pragma once
#include <QDialog>

class TCF3 : public QDialog {
    Q_OBJECT
public:
    explicit TCF3(QWidget* parent = nullptr);
};

extern TCF3* CF3;
