#pragma once
#include <QWidget>

class TCF : public QWidget {
    Q_OBJECT
public:
    explicit TCF(QWidget* parent = nullptr);
};

extern TCF* CF;
