#include "widgets/LinkLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace widgets {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QWidget(parent), text_(text), colour_(Qt::blue) {
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
}

QString LinkLabel::text() const { return text_; }
QColor LinkLabel::colour() const { return colour_; }

void LinkLabel::setColour(const QColor& c) {
    colour_ = c;
    update();
}

void LinkLabel::enterEvent(QEnterEvent*) { setColour(Qt::red); }
void LinkLabel::leaveEvent(QEvent*) { setColour(Qt::blue); }

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void LinkLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(colour_);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

QSize LinkLabel::sizeHint() const {
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text_) + 4, fm.height() + 2);
}

}  // namespace widgets
