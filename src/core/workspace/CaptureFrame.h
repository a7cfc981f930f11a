#pragma once

// The capture frame: the block of the picture area that becomes the output picture. Its size
// is the output size in screen pixels; only its place is the operator's, and nothing bounds it
// (a capture reads white wherever it lies outside the picture). The outline is drawn one
// pixel outside the block, so it is never part of what is captured.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace portiqa {

class CaptureFrame {
public:
    static QColor defaultColour() { return QColor(255, 255, 0); }

    QPoint topLeft() const { return topLeft_; }
    QSize size() const { return size_; }
    // The captured block: columns L..L+W-1, rows T..T+H-1.
    QRect rect() const { return QRect(topLeft_, size_); }
    QColor colour() const { return colour_; }

    void moveTo(QPoint topLeft) { topLeft_ = topLeft; }
    void moveBy(int dx, int dy) { topLeft_ += QPoint(dx, dy); }
    void setSize(QSize size) { size_ = size; }
    void setColour(const QColor& colour) { colour_ = colour; }

    // The band where the pointer grabs the frame: L-1 <= x <= L+W+1 and T-1 <= y <= T+H+1,
    // the outline included.
    bool grabs(QPoint point) const;

    // Draws the one-pixel outline into `image` (clipped to it): the lines at L-1 and T-1 touch
    // the block, those at L+W+1 and T+H+1 leave one column and row between; each line stops
    // one pixel short of its end point.
    void drawFrame(QImage& image) const;

    // The W x H block under the frame read from `surface` (RGB32): white wherever the frame
    // lies outside it. Null for an empty frame or one of more than `maxPixels` pixels.
    QImage capture(const QImage& surface, qint64 maxPixels) const;

private:
    QPoint topLeft_;
    QSize size_{160, 210};
    QColor colour_ = defaultColour();
};

} // namespace portiqa
