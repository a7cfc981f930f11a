#include "core/face/FramingPlacement.h"

#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/WorkspaceGeometry.h"

#include <algorithm>

namespace portiqa {

namespace {

struct AxisPlace {
    double fraction;
    int frame;
};

// One direction: `frameOnZoomed` is where the frame must lie on the zoomed picture.
AxisPlace placeAxis(int area, int zoomed, int frameLength, int frameOnZoomed, int frameNow,
                    double fractionNow) {
    if (zoomed <= area) {
        double fraction = fractionNow;
        const AxisLayout layout = WorkspaceGeometry::layoutAxis(area, zoomed, fraction);
        return {fractionNow, layout.offset + frameOnZoomed};
    }
    const int preferred = std::clamp(frameNow, 0, std::max(0, area - frameLength));
    const int maximum = zoomed - area;
    const int position =
        std::clamp(frameOnZoomed - preferred, WorkspaceGeometry::ScrollMinimum, maximum);
    // The layout takes trunc(maximum x fraction); half a step above the position survives the
    // rounding of the division.
    const double fraction = position == maximum ? 1.0 : (position + 0.5) / maximum;
    return {fraction, frameOnZoomed - position};
}

} // namespace

WorkspaceFraming FramingPlacement::place(const FaceFraming& framing, const View& view) {
    const int zoomedWidth = WorkspaceGeometry::zoomedSide(view.picture.width(), framing.zoom);
    const int zoomedHeight = WorkspaceGeometry::zoomedSide(view.picture.height(), framing.zoom);
    const AxisPlace x = placeAxis(view.area.width(), zoomedWidth, view.frame.width(),
                                  framing.frameOnZoomed.x(), view.frameTopLeft.x(), view.fractionX);
    const AxisPlace y = placeAxis(view.area.height(), zoomedHeight, view.frame.height(),
                                  framing.frameOnZoomed.y(), view.frameTopLeft.y(), view.fractionY);
    return {framing.zoom, x.fraction, y.fraction, QPoint(x.frame, y.frame)};
}

std::optional<FaceFraming> FramingPlacement::apply(PhotoWorkspace& workspace,
                                                   const DetectedFaces& faces) {
    if (!workspace.pictureLoaded()) {
        return std::nullopt;
    }
    const QSize picture = workspace.pictureSize();
    const std::optional<FaceFraming> framing =
        FramingRule::frame(faces, picture, workspace.frame().size(),
                           ZoomRange::forPicture(picture, PhotoWorkspace::MaxZoomedSide));
    if (!framing) {
        return std::nullopt;
    }
    View view;
    view.picture = picture;
    view.area = workspace.areaSize();
    view.frame = workspace.frame().size();
    view.frameTopLeft = workspace.frame().topLeft();
    view.fractionX = workspace.scrollFractionX();
    view.fractionY = workspace.scrollFractionY();
    const WorkspaceFraming placed = place(*framing, view);
    if (!workspace.showFraming(placed.zoom, placed.fractionX, placed.fractionY,
                               placed.frameTopLeft)) {
        return std::nullopt;
    }
    return framing;
}

} // namespace portiqa
