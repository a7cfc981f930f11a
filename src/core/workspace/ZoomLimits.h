#pragma once

// The bounds of the workspace's zoom. The zoomed picture must keep at least one pixel and at
// most MaxZoomedSide pixels on either side: beyond that the display would show nothing or a
// commit could not hold the picture. Outside the bounds only a step back toward them is
// taken, so a view that starts out of bounds (a strip fitted to zero rows) can always be
// zoomed back.

#include <QSize>

namespace portiqa {

class ZoomLimits {
public:
    static constexpr int MaxZoomedSide = 30000;

    // The zoomed picture keeps 1..MaxZoomedSide pixels on either side.
    static bool fits(QSize picture, double zoom);
    // A zoom step from `current` to `next` is taken: it fits, or it leads back toward the
    // bounds from a current zoom outside them.
    static bool allows(QSize picture, double current, double next);
    // The zoom a new picture is shown at: the fitting zoom, raised where a picture far wider
    // than high would otherwise keep no row at all.
    static double visibleFit(QSize picture, QSize area);
};

} // namespace portiqa
