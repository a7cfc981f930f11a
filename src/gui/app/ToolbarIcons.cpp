#include "gui/app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cstring>

namespace portiqa {

namespace {

const QColor kInk(0x2f, 0x4f, 0x7f);
const QColor kAccent(0xe0, 0x8a, 0x1e);

void drawArrowArc(QPainter& p, bool clockwise) {
    p.drawArc(QRectF(4, 4, 16, 16), clockwise ? 90 * 16 : 90 * 16,
              clockwise ? -270 * 16 : 270 * 16);
    const QPointF tip = clockwise ? QPointF(12, 4) : QPointF(12, 4);
    const double dir = clockwise ? -1 : 1;
    p.drawLine(tip, tip + QPointF(4 * dir, -3));
    p.drawLine(tip, tip + QPointF(4 * dir, 3));
}

void drawMagnifier(QPainter& p, bool plus) {
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
    p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
    if (plus) {
        p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
    }
}

void draw(QPainter& p, const char* name) {
    auto is = [name](const char* n) { return std::strcmp(name, n) == 0; };
    if (is("open")) {
        p.drawPolyline(QPolygonF({{2, 19}, {2, 5}, {9, 5}, {11, 7}, {19, 7}, {19, 10}}));
        p.setBrush(kAccent);
        p.drawPolygon(QPolygonF({{2, 19}, {6, 10}, {22, 10}, {18, 19}}));
    } else if (is("save")) {
        p.drawRect(QRectF(3, 3, 18, 18));
        p.drawRect(QRectF(7, 3, 10, 6));
        p.setBrush(kAccent);
        p.drawRect(QRectF(6, 13, 12, 8));
    } else if (is("zoom-in") || is("zoom-out")) {
        drawMagnifier(p, is("zoom-in"));
    } else if (is("turn-cw") || is("turn-ccw")) {
        drawArrowArc(p, is("turn-cw"));
    } else if (is("edit")) {
        p.drawLine(QPointF(5, 19), QPointF(18, 6));
        p.drawLine(QPointF(8, 21), QPointF(21, 8));
        p.setBrush(kAccent);
        p.drawPolygon(QPolygonF({{5, 19}, {8, 21}, {3, 22}}));
    } else if (is("camera")) {
        p.drawRoundedRect(QRectF(2, 7, 20, 13), 2, 2);
        p.drawRect(QRectF(8, 4, 8, 3));
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(8, 9, 8, 8));
    } else if (is("help")) {
        p.drawEllipse(QRectF(2, 2, 20, 20));
        QPainterPath q;
        q.moveTo(9, 9);
        q.cubicTo(9, 5, 15, 5, 15, 9);
        q.cubicTo(15, 12, 12, 12, 12, 15);
        p.drawPath(q);
        p.drawPoint(QPointF(12, 18));
    } else if (is("home")) {
        p.drawPolyline(QPolygonF({{2, 12}, {12, 3}, {22, 12}}));
        p.drawRect(QRectF(5, 11, 14, 10));
        p.setBrush(kAccent);
        p.drawRect(QRectF(10, 15, 4, 6));
    } else {
        p.drawRect(QRectF(3, 3, 18, 18));
    }
}

} // namespace

QIcon toolbarIcon(const char* name) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter, name);
    return QIcon(pixmap);
}

QIcon windowIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(5, 2, 22, 28));
    painter.setBrush(kAccent);
    painter.drawEllipse(QRectF(11, 7, 10, 11));
    painter.drawPie(QRectF(8, 18, 16, 14), 0, 180 * 16);
    return QIcon(pixmap);
}

} // namespace portiqa
