#pragma once
#include <QDialog>

class TCF4 : public QDialog {
    Q_OBJECT
public:
    explicit TCF4(QWidget* parent = nullptr);
};

extern TCF4* CF4;
