#pragma once

// Draws a sheet: white paper, the cut lines, and the copies of one picture exactly where the
// layout puts them. The same drawing serves the window's preview, the printer, the PDF and
// the JPEG; only the device's resolution differs.
//
// Each copy is the picture scaled once to its printed size at the device's resolution with a
// smoothing resampler (area averaging when it shrinks, bilinear when it grows), never cropped
// and never stretched: when the picture's shape differs from the photo size it is fitted
// inside and centred, the rest of the photo left white. Every copy is then placed pixel for
// pixel, so all copies are identical and a PDF holds the scaled picture once.
//
// Any thread; the renderer keeps its own copies of the layout and the picture.

#include "core/print/SheetLayout.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace portiqa {

class SheetRenderer {
public:
    // The cut lines' width and shade.
    static constexpr double kCutLineMm = 0.1;
    static constexpr int kCutLineGrey = 150;

    SheetRenderer(SheetLayout layout, QImage picture);

    const SheetLayout& layout() const { return layout_; }
    const QImage& picture() const { return picture_; }

    // The picture's pixel size in each copy at `dotsPerInch`, and where it sits relative to
    // the copy's top-left corner (device pixels).
    QRect pictureRectInCopy(double dotsPerInch) const;
    // A copy's top-left corner in device pixels.
    static QPoint copyOrigin(const QRectF& copyMm, double dotsPerInch);

    // Paints the sheet on `painter`, whose device has `dotsPerInch` and whose origin is the
    // paper's top-left corner. The paper is filled white first.
    void paint(QPainter& painter, double dotsPerInch) const;

    // The whole paper as a picture at `dotsPerInch` (its density set accordingly); null when
    // it cannot be allocated.
    QImage render(double dotsPerInch) const;

    // The picture scaled to `size` with the resampler the copies use.
    static QImage scaled(const QImage& picture, QSize size);

private:
    SheetLayout layout_;
    QImage picture_;
};

} // namespace portiqa
