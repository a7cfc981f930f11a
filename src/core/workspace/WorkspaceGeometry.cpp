#include "core/workspace/WorkspaceGeometry.h"

#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace portiqa {

AxisLayout WorkspaceGeometry::layoutAxis(int area, int zoomed, double& fraction) {
    AxisLayout axis;
    if (zoomed <= area) {
        // Equal sizes start at the left edge; a narrower picture is centred, the odd pixel of
        // the difference going to the right or bottom band.
        axis.offset = zoomed < area ? (area - zoomed) / 2 : 0;
        axis.visible = zoomed;
        return axis;
    }
    axis.scrolls = true;
    axis.maximum = zoomed - area;
    if (numbers::nearlyEqual(fraction, 0.0)) {
        fraction = 0.5;
    }
    const double wanted = std::trunc(axis.maximum * fraction);
    axis.position = static_cast<int>(
        std::clamp(wanted, static_cast<double>(ScrollMinimum), static_cast<double>(axis.maximum)));
    axis.visible = area;
    return axis;
}

double WorkspaceGeometry::fitZoom(QSize picture, QSize area) {
    if (picture.width() <= 0 || picture.height() <= 0 || area.width() <= 0 || area.height() <= 0) {
        return 1.0;
    }
    const double w = picture.width();
    const double h = picture.height();
    const double areaW = area.width();
    const double areaH = area.height();
    if (numbers::greaterOrEqual(w / h, areaW / areaH)) {
        return areaW < w ? areaW / w : 1.0;
    }
    return areaH < h ? areaH / h : 1.0;
}

int WorkspaceGeometry::zoomedSide(int side, double zoom) {
    return std::max(0, numbers::truncateToInt32(side * zoom));
}

} // namespace portiqa
