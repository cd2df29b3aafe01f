#pragma once
// A small chart of the program's own, drawn with QPainter: one stacked bar
// per period (a lower and an upper part), and an optional line over them
// (another figure of each period). Hovering over a period shows its tip.
// The figures it draws are kept as given, for the window's table and for
// checks.
#include "rtl/Money.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace widgets {

struct ChartBar {
    QString caption;          // under the bar
    rtl::Money lower, upper;  // stacked, lower first
    rtl::Money line;          // the line's point
    QString tip;              // shown on hover
};

class BarChart : public QWidget {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);

    // The names of the lower part, the upper part and the line (legend).
    void setSeriesNames(const QStringList& names);
    void setLineShown(bool shown);
    bool lineShown() const { return lineShown_; }
    void setBars(std::vector<ChartBar> bars);
    const std::vector<ChartBar>& bars() const { return bars_; }

    // The period under a point of the widget, or -1.
    int barAt(const QPoint& point) const;
    // The chart drawn into an image of `size` on white (for a file or paper).
    QImage image(const QSize& size) const;

    QSize sizeHint() const override { return {720, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Frame;
    Frame frame(const QRectF& area) const;
    void draw(QPainter& p, const QRectF& area) const;

    QStringList names_;
    bool lineShown_ = true;
    std::vector<ChartBar> bars_;
};

}  // namespace widgets
