#include "core/editor/BrushRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace portiqa::BrushRaster {

namespace {

bool usable(const QImage& image) {
    return !image.isNull() && image.depth() == 32;
}

// The centre of the brush box in pixel-centre coordinates: the point's own centre for an odd
// width, half a pixel up and left of it for an even one.
void boxCentre(QPoint point, int width, double& cx, double& cy) {
    const double shift = width % 2 == 0 ? 0.5 : 0.0;
    cx = point.x() - shift;
    cy = point.y() - shift;
}

// Squared radius with a small allowance so pixel centres exactly on the rim belong to it.
double radiusSquared(int width) {
    const double r = width / 2.0;
    return r * r + 1e-9;
}

bool inDisc(double dx, double dy, double r2) {
    return dx * dx + dy * dy <= r2;
}

void put(QImage& image, int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
    }
}

// Squared distance from (px, py) to the segment (ax, ay) - (bx, by).
double segmentDistanceSquared(double px, double py, double ax, double ay, double bx, double by) {
    const double vx = bx - ax;
    const double vy = by - ay;
    const double length2 = vx * vx + vy * vy;
    double t = 0;
    if (length2 > 0) {
        t = std::clamp(((px - ax) * vx + (py - ay) * vy) / length2, 0.0, 1.0);
    }
    const double dx = px - (ax + t * vx);
    const double dy = py - (ay + t * vy);
    return dx * dx + dy * dy;
}

void paintThinLine(QImage& image, QPoint from, QPoint to, QRgb colour) {
    int x = from.x();
    int y = from.y();
    const int dx = std::abs(to.x() - x);
    const int dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1;
    const int sy = y < to.y() ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        put(image, x, y, colour);
        if (x == to.x() && y == to.y()) {
            return;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

} // namespace

QRect brushBox(QPoint centre, int width) {
    const int r = width / 2;
    const int right = width % 2 == 1 ? centre.x() + r + 1 : centre.x() + r;
    const int bottom = width % 2 == 1 ? centre.y() + r + 1 : centre.y() + r;
    return QRect(QPoint(centre.x() - r, centre.y() - r), QPoint(right - 1, bottom - 1));
}

namespace {

// The brush's disc of `width` at `centre`: its middle, its squared radius and its pixel box.
struct Disc {
    double cx = 0;
    double cy = 0;
    double r2 = 0;
    QRect box;
    bool contains(int x, int y) const { return inDisc(x - cx, y - cy, r2); }
};

Disc discAt(QPoint centre, int width) {
    Disc disc;
    boxCentre(centre, width, disc.cx, disc.cy);
    disc.r2 = radiusSquared(width);
    disc.box = brushBox(centre, width);
    return disc;
}

} // namespace

void paintDisc(QImage& image, QPoint centre, int width, QRgb colour) {
    if (width <= 1 || !usable(image)) {
        return;
    }
    const Disc disc = discAt(centre, width);
    const QRect box = disc.box.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (disc.contains(x, y)) {
                put(image, x, y, colour);
            }
        }
    }
}

void paintOutline(QImage& image, QPoint centre, int width, QRgb colour) {
    if (width <= 1 || !usable(image)) {
        return;
    }
    const Disc disc = discAt(centre, width);
    for (int y = disc.box.top(); y <= disc.box.bottom(); ++y) {
        for (int x = disc.box.left(); x <= disc.box.right(); ++x) {
            if (!disc.contains(x, y)) {
                continue;
            }
            const bool edge = !disc.contains(x - 1, y) || !disc.contains(x + 1, y) ||
                              !disc.contains(x, y - 1) || !disc.contains(x, y + 1);
            if (edge) {
                put(image, x, y, colour);
            }
        }
    }
}

void paintStroke(QImage& image, QPoint from, QPoint to, int width, QRgb colour) {
    if (!usable(image)) {
        return;
    }
    if (width <= 1) {
        paintThinLine(image, from, to, colour);
        return;
    }
    double ax = 0;
    double ay = 0;
    double bx = 0;
    double by = 0;
    boxCentre(from, width, ax, ay);
    boxCentre(to, width, bx, by);
    const double r2 = radiusSquared(width);
    const QRect bounds = (brushBox(from, width) | brushBox(to, width)).intersected(image.rect());
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            if (segmentDistanceSquared(x, y, ax, ay, bx, by) <= r2) {
                line[x] = colour;
            }
        }
    }
}

} // namespace portiqa::BrushRaster
