#pragma once
// The about box: the program's name and picture, the support address and
// the web site as links.
#include "widgets/LinkLabel.h"

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel *ProductName, *Image1, *Label1, *Label3;
    widgets::LinkLabel *Label4, *Label5;
    QPushButton* OKButton;

private slots:
    void Label4Click();
    void Label5Click();
};

extern TAboutBox* AboutBox;
