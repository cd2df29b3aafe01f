#include "widgets/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace widgets {

namespace {

const QColor kInk(40, 52, 72);
const QColor kPaper(250, 250, 246);
const QColor kBlue(38, 110, 190);
const QColor kGreen(46, 150, 70);
const QColor kRed(200, 50, 40);
const QColor kSteel(120, 130, 145);
const QColor kAmber(225, 160, 40);

void page(QPainter& p) {
    QPainterPath path;
    path.moveTo(7, 3);
    path.lineTo(20, 3);
    path.lineTo(26, 9);
    path.lineTo(26, 29);
    path.lineTo(7, 29);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
    p.setPen(QPen(kSteel, 1.2));
    for (int y = 13; y <= 24; y += 4) p.drawLine(10, y, 22, y);
}

void plus(QPainter& p, QPointF c, QColor color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, 7, 7);
    p.setPen(QPen(Qt::white, 2.5));
    p.drawLine(c + QPointF(-4, 0), c + QPointF(4, 0));
    p.drawLine(c + QPointF(0, -4), c + QPointF(0, 4));
}

void cross(QPainter& p, QPointF c, QColor color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, 7, 7);
    p.setPen(QPen(Qt::white, 2.5));
    p.drawLine(c + QPointF(-3.5, -3.5), c + QPointF(3.5, 3.5));
    p.drawLine(c + QPointF(-3.5, 3.5), c + QPointF(3.5, -3.5));
}

void pencil(QPainter& p) {
    p.save();
    p.translate(22, 20);
    p.rotate(45);
    p.setPen(QPen(kInk, 1));
    p.setBrush(kAmber);
    p.drawRect(QRectF(-3, -12, 6, 16));
    QPainterPath tip;
    tip.moveTo(-3, 4);
    tip.lineTo(3, 4);
    tip.lineTo(0, 9);
    tip.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(tip);
    p.restore();
}

void magnifier(QPainter& p) {
    p.setPen(QPen(kInk, 3));
    p.drawLine(QPointF(24, 24), QPointF(30, 30));
    p.setPen(QPen(kBlue, 2.5));
    p.setBrush(QColor(210, 230, 250, 200));
    p.drawEllipse(QPointF(19, 19), 6.5, 6.5);
}

// A clock face over a page: the history of a car.
void clock(QPainter& p) {
    const QPointF c(20, 20);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(230, 240, 252));
    p.drawEllipse(c, 9, 9);
    p.setPen(QPen(kBlue, 2));
    p.drawLine(c, c + QPointF(0, -6));
    p.drawLine(c, c + QPointF(4.5, 2));
}

void car(QPainter& p, bool outline) {
    QPainterPath body;
    body.moveTo(2, 21);
    body.lineTo(2, 16);
    body.lineTo(8, 15);
    body.lineTo(12, 9);
    body.lineTo(22, 9);
    body.lineTo(26, 15);
    body.lineTo(30, 16);
    body.lineTo(30, 21);
    body.closeSubpath();
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(outline ? QBrush(Qt::NoBrush) : QBrush(kBlue));
    p.drawPath(body);
    p.setBrush(QColor(200, 225, 250));
    p.drawRect(QRectF(12.5, 10.5, 4, 4.5));
    p.drawRect(QRectF(18, 10.5, 4, 4.5));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(9, 22), 3.5, 3.5);
    p.drawEllipse(QPointF(23, 22), 3.5, 3.5);
}

void wrench(QPainter& p) {
    p.save();
    p.translate(16, 16);
    p.rotate(-45);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kSteel);
    p.drawRoundedRect(QRectF(-2.5, -6, 5, 20), 2, 2);
    QPainterPath head;
    head.addEllipse(QPointF(0, -9), 6.5, 6.5);
    QPainterPath jaw;
    jaw.addRect(QRectF(-2.5, -16, 5, 8));
    p.drawPath(head.subtracted(jaw));
    p.restore();
}

void gear(QPainter& p, QPointF c, double r) {
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRect(QRectF(-r * 0.22, -r * 1.25, r * 0.44, r * 0.5));
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(i * 45);
        path = path.united(t.map(tooth));
    }
    QPainterPath ring;
    ring.addEllipse(c, r, r);
    path = path.united(ring);
    QPainterPath hole;
    hole.addEllipse(c, r * 0.4, r * 0.4);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kSteel);
    p.drawPath(path.subtracted(hole));
}

void person(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(16, 10), 5.5, 5.5);
    QPainterPath shoulders;
    shoulders.moveTo(5, 29);
    shoulders.cubicTo(5, 18, 27, 18, 27, 29);
    shoulders.closeSubpath();
    p.setBrush(kBlue);
    p.drawPath(shoulders);
}

void printer(QPainter& p) {
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 14, 9));
    p.setBrush(kSteel);
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 19, 14, 10));
    p.setPen(QPen(kSteel, 1));
    p.drawLine(11, 23, 21, 23);
    p.drawLine(11, 26, 19, 26);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
}

void engine(QPainter& p) {
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(kSteel);
    p.drawRect(QRectF(6, 11, 20, 14));
    p.drawRect(QRectF(10, 6, 12, 5));
    p.drawRect(QRectF(2, 15, 4, 6));
    p.drawRect(QRectF(26, 14, 4, 8));
    p.setBrush(kRed);
    p.drawRect(QRectF(13, 3, 6, 3));
}

void factory(QPainter& p) {
    QPainterPath path;
    path.moveTo(3, 29);
    path.lineTo(3, 14);
    path.lineTo(10, 19);
    path.lineTo(10, 14);
    path.lineTo(17, 19);
    path.lineTo(17, 6);
    path.lineTo(23, 6);
    path.lineTo(23, 29);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(kSteel);
    p.drawPath(path);
    p.setBrush(kAmber);
    for (int x : {6, 12}) p.drawRect(QRectF(x, 22, 3, 3));
    car(p, false);
}

void door(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(160, 110, 60));
    p.drawRect(QRectF(5, 3, 14, 26));
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(16, 17), 1.3, 1.3);
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(19, 16), QPointF(29, 16));
    p.drawLine(QPointF(25, 12), QPointF(29, 16));
    p.drawLine(QPointF(25, 20), QPointF(29, 16));
}

void funnel(QPainter& p) {
    QPainterPath path;
    path.moveTo(3, 5);
    path.lineTo(25, 5);
    path.lineTo(17, 15);
    path.lineTo(17, 26);
    path.lineTo(11, 23);
    path.lineTo(11, 15);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(kBlue);
    p.drawPath(path);
    cross(p, QPointF(24, 24), kRed);
}

void floppy(QPainter& p) {
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(kSteel);
    p.drawRect(QRectF(8, 18, 16, 10));
}

void check(QPainter& p, QColor color) {
    p.setPen(QPen(color, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(6, 17), QPointF(13, 24));
    p.drawLine(QPointF(13, 24), QPointF(26, 8));
}

}  // namespace

QIcon icon(Glyph glyph) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::NewDocument: page(p); plus(p, QPointF(23, 23), kGreen); break;
    case Glyph::EditDocument: page(p); pencil(p); break;
    case Glyph::ViewDocument: page(p); magnifier(p); break;
    case Glyph::Print: printer(p); break;
    case Glyph::Save: floppy(p); break;
    case Glyph::Close: cross(p, QPointF(16, 16), kRed); break;
    case Glyph::Exit: door(p); break;
    case Glyph::Car: car(p, false); break;
    case Glyph::Works: wrench(p); break;
    case Glyph::Spares: gear(p, QPointF(16, 16), 9); break;
    case Glyph::Mechanic: person(p); break;
    case Glyph::Makes: factory(p); break;
    case Glyph::Engine: engine(p); break;
    case Glyph::Body: car(p, true); break;
    case Glyph::ClearFilter: funnel(p); break;
    case Glyph::Add: plus(p, QPointF(16, 16), kGreen); break;
    case Glyph::Delete: cross(p, QPointF(16, 16), kRed); break;
    case Glyph::Choose: car(p, false); check(p, kGreen); break;
    case Glyph::Ok: check(p, kGreen); break;
    case Glyph::Cancel: cross(p, QPointF(16, 16), kRed); break;
    case Glyph::History: page(p); clock(p); break;
    }
    p.end();
    return QIcon(pm);
}

}  // namespace widgets
