#pragma once

// The round brush of the editor, drawn pixel by pixel so its shape is the same on every
// platform and scale: a brush of width w covers exactly w pixels across.
//
// The brush box of a point (x, y) with r = floor(w / 2) runs from (x - r, y - r) to
// (x + r + 1, y + r + 1) for an odd width and to (x + r, y + r) for an even one, right and
// bottom edges excluded. The disc is the pixels of that box whose centres lie within w / 2 of
// the box's centre; the outline is the disc's edge pixels; a stroke segment covers the pixels
// within w / 2 of the segment between two such centres, so strokes and discs join seamlessly.
// Width 1 has no disc or outline and strokes as a one-pixel line.
//
// Everything is clipped to the image; the image must be Format_RGB32 or ARGB32.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

namespace portiqa {

namespace BrushRaster {

constexpr int MinWidth = 1;
constexpr int MaxWidth = 20;

// The brush box, as a QRect of the pixels it covers (w x w).
QRect brushBox(QPoint centre, int width);

// The filled disc a press leaves (nothing for width 1).
void paintDisc(QImage& image, QPoint centre, int width, QRgb colour);
// The hollow one-pixel circle of the hover outline (nothing for width 1).
void paintOutline(QImage& image, QPoint centre, int width, QRgb colour);
// One segment of a stroke from `from` to `to`, both ends included.
void paintStroke(QImage& image, QPoint from, QPoint to, int width, QRgb colour);

} // namespace BrushRaster

} // namespace portiqa
