#pragma once
#include <QDialog>

class TSV : public QDialog {
    Q_OBJECT
public:
    explicit TSV(QWidget* parent = nullptr);
};

extern TSV* SV;
