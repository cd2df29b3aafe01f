#pragma once
// The about box: the program's name and picture, the support address and
// the web site as links.
#include <QDialog>

class QLabel;
class QPushButton;

// A label that behaves as a link: blue, red while the pointer is over it,
// the hand cursor; clicks are reported.
class LinkLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel *ProductName, *Image1, *Label1, *Label3;
    LinkLabel *Label4, *Label5;
    QPushButton* OKButton;

private slots:
    void Label4Click();
    void Label5Click();
};

class LinkLabel : public QWidget {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);
    QString text() const;
    QColor colour() const;

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    void setColour(const QColor& c);
    QString text_;
    QColor colour_;
};

extern TAboutBox* AboutBox;
