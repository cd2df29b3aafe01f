#include "widgets/BarChart.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace widgets {

namespace {

const QColor kLower(70, 110, 170), kUpper(235, 160, 60), kLine(40, 150, 70);

double value(rtl::Money m) { return std::max(0.0, m.toDouble()); }

// The top of the scale: 1, 2 or 5 times a power of ten, over `v`.
double niceTop(double v) {
    if (v <= 0) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (double k : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (k * p >= v) return k * p;
    return 10 * p;
}

QString tickText(double v) {
    if (v >= 1e6) return QString::number(v / 1e6, 'g', 3).replace(u'.', u',') + QStringLiteral(" млн");
    if (v >= 1e3) return QString::number(v / 1e3, 'g', 3).replace(u'.', u',') + QStringLiteral(" тыс");
    return QString::number(v, 'g', 3).replace(u'.', u',');
}

}  // namespace

struct BarChart::Frame {
    QRectF plot;
    double top = 1;
    double slot = 0;  // the width given to each bar
    QRectF slotRect(int i) const { return {plot.left() + slot * i, plot.top(), slot, plot.height()}; }
    double y(double v) const { return plot.bottom() - v / top * plot.height(); }
};

BarChart::BarChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(360, 200);
    setFocusPolicy(Qt::NoFocus);
}

void BarChart::setSeriesNames(const QStringList& names) {
    names_ = names;
    update();
}

void BarChart::setLineShown(bool shown) {
    lineShown_ = shown;
    update();
}

void BarChart::setBars(std::vector<ChartBar> bars) {
    bars_ = std::move(bars);
    update();
}

BarChart::Frame BarChart::frame(const QRectF& area) const {
    Frame f;
    f.plot = area.adjusted(64, 28, -12, -24);
    double top = 0;
    for (const ChartBar& b : bars_) {
        top = std::max(top, value(b.lower) + value(b.upper));
        if (lineShown_) top = std::max(top, value(b.line));
    }
    f.top = niceTop(top);
    f.slot = bars_.empty() ? f.plot.width() : f.plot.width() / double(bars_.size());
    return f;
}

int BarChart::barAt(const QPoint& point) const {
    const Frame f = frame(QRectF(rect()));
    for (int i = 0; i < int(bars_.size()); ++i) {
        const QRectF s = f.slotRect(i);
        if (point.x() >= s.left() && point.x() < s.right() && point.y() >= s.top() - 20 && point.y() <= s.bottom() + 20)
            return i;
    }
    return -1;
}

void BarChart::draw(QPainter& p, const QRectF& area) const {
    p.setRenderHint(QPainter::Antialiasing);
    const Frame f = frame(area);
    QFont font = p.font();
    font.setPointSizeF(8);
    p.setFont(font);

    // Scale: five lines with their figures.
    for (int k = 0; k <= 5; ++k) {
        const double v = f.top * k / 5, y = f.y(v);
        p.setPen(QPen(k == 0 ? Qt::black : QColor(220, 220, 220), 1));
        p.drawLine(QPointF(f.plot.left(), y), QPointF(f.plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left(), y - 8, 60, 16), Qt::AlignRight | Qt::AlignVCenter, tickText(v));
    }

    // Bars and captions.
    for (int i = 0; i < int(bars_.size()); ++i) {
        const ChartBar& b = bars_[size_t(i)];
        const QRectF s = f.slotRect(i);
        const double w = s.width() * 0.6, x = s.center().x() - w / 2;
        const double yLower = f.y(value(b.lower)), yUpper = f.y(value(b.lower) + value(b.upper));
        p.fillRect(QRectF(x, yLower, w, f.plot.bottom() - yLower), kLower);
        p.fillRect(QRectF(x, yUpper, w, yLower - yUpper), kUpper);
        p.setPen(Qt::black);
        p.drawText(QRectF(s.left(), f.plot.bottom() + 2, s.width(), 18), Qt::AlignHCenter | Qt::AlignTop, b.caption);
    }

    if (lineShown_ && !bars_.empty()) {
        QPainterPath path;
        for (int i = 0; i < int(bars_.size()); ++i) {
            const QPointF pt(f.slotRect(i).center().x(), f.y(value(bars_[size_t(i)].line)));
            i == 0 ? path.moveTo(pt) : path.lineTo(pt);
        }
        p.setPen(QPen(kLine, 2));
        p.drawPath(path);
        p.setBrush(kLine);
        for (int i = 0; i < int(bars_.size()); ++i)
            p.drawEllipse(QPointF(f.slotRect(i).center().x(), f.y(value(bars_[size_t(i)].line))), 3, 3);
        p.setBrush(Qt::NoBrush);
    }

    // Legend across the top.
    double x = f.plot.left();
    const QColor colours[] = {kLower, kUpper, kLine};
    for (int k = 0; k < std::min<int>(3, int(names_.size())); ++k) {
        if (k == 2 && !lineShown_) break;
        if (k == 2) {
            p.setPen(QPen(kLine, 2));
            p.drawLine(QPointF(x, area.top() + 12), QPointF(x + 14, area.top() + 12));
        } else {
            p.fillRect(QRectF(x, area.top() + 6, 14, 12), colours[k]);
        }
        p.setPen(Qt::black);
        const QRectF t(x + 18, area.top() + 4, 200, 16);
        p.drawText(t, Qt::AlignLeft | Qt::AlignVCenter, names_[k]);
        x += 18 + p.fontMetrics().horizontalAdvance(names_[k]) + 18;
    }
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    draw(p, QRectF(rect()));
}

QImage BarChart::image(const QSize& size) const {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font());
    draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return img;
}

bool BarChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = barAt(help->pos());
        if (i >= 0) QToolTip::showText(help->globalPos(), bars_[size_t(i)].tip, this);
        else QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace widgets
