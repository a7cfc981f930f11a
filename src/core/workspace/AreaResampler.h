#pragma once

// The one function that turns the picture into zoomed pixels, for display, capture and commit
// alike, so what is saved is exactly what is shown.
//
// The zoomed surface of zoomedSize is virtual: any region of it can be computed on its own and
// every pixel depends only on its own coordinates, the zoomed size and the picture, never on
// which region was asked for. Each output pixel is the area average of its footprint on the
// picture, taken in the pyramid level just at or above the resolution needed (above zoom 1
// the footprint overlaps one to four picture pixels and weights them by overlap).

#include "core/workspace/PicturePyramid.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace portiqa {

class AreaResampler {
public:
    // Writes `region` (in zoomed-surface coordinates, clipped to the surface) of the picture
    // zoomed to `zoomedSize` into `target` with the region's top-left at `at`. `target` must be
    // RGB32; parts falling outside it are skipped.
    static void drawRegion(const PicturePyramid& picture, QSize zoomedSize, QRect region,
                           QImage& target, QPoint at);

    // The whole zoomed surface. Only for the places that really need every pixel (a commit);
    // returns a null image when it cannot be allocated.
    static QImage materialise(const PicturePyramid& picture, QSize zoomedSize);

    // The pyramid level a zoomed size reads from.
    static int levelFor(const PicturePyramid& picture, QSize zoomedSize);
};

} // namespace portiqa
