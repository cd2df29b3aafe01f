#pragma once
// A label that behaves as a link: blue, red while the pointer is over it,
// the hand cursor; clicks are reported.
#include <QColor>
#include <QWidget>

namespace widgets {

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

}  // namespace widgets
