#pragma once
#include <QDialog>

class THst : public QDialog {
    Q_OBJECT
public:
    explicit THst(QWidget* parent = nullptr);
};

extern THst* Hst;
