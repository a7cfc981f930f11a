#include "core/workspace/ZoomLimits.h"

#include "core/workspace/WorkspaceGeometry.h"

#include <algorithm>
#include <cmath>

namespace portiqa {

namespace {

bool approachesBounds(QSize picture, double current, double next) {
    if (!(next > 0)) {
        return false;
    }
    const int shortSide = std::min(picture.width(), picture.height());
    const int longSide = std::max(picture.width(), picture.height());
    const bool tooSmall = WorkspaceGeometry::zoomedSide(shortSide, current) < 1;
    const bool tooLarge =
        WorkspaceGeometry::zoomedSide(longSide, current) > ZoomLimits::MaxZoomedSide;
    return (tooSmall && next > current &&
            WorkspaceGeometry::zoomedSide(longSide, next) <=
                std::max(ZoomLimits::MaxZoomedSide, longSide)) ||
           (tooLarge && next < current);
}

} // namespace

bool ZoomLimits::fits(QSize picture, double zoom) {
    const int w = WorkspaceGeometry::zoomedSide(picture.width(), zoom);
    const int h = WorkspaceGeometry::zoomedSide(picture.height(), zoom);
    return w >= 1 && h >= 1 && w <= MaxZoomedSide && h <= MaxZoomedSide;
}

bool ZoomLimits::allows(QSize picture, double current, double next) {
    return fits(picture, next) || approachesBounds(picture, current, next);
}

double ZoomLimits::visibleFit(QSize picture, QSize area) {
    double zoom = WorkspaceGeometry::fitZoom(picture, area);
    const int shortSide = std::min(picture.width(), picture.height());
    if (shortSide > 0 && WorkspaceGeometry::zoomedSide(shortSide, zoom) < 1) {
        double raised = 1.0 / shortSide;
        while (WorkspaceGeometry::zoomedSide(shortSide, raised) < 1) {
            raised = std::nextafter(raised, 2.0);
        }
        if (fits(picture, raised)) {
            zoom = raised;
        }
    }
    return zoom;
}

} // namespace portiqa
