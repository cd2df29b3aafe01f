#pragma once
// The version history.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class THst : public QDialog {
    Q_OBJECT
public:
    explicit THst(QWidget* parent = nullptr);
    QPlainTextEdit* Memo1;
    QPushButton* OKButton;
};

extern THst* Hst;
