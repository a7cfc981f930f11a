#include "core/face/FramingRule.h"

#include "core/workspace/WorkspaceGeometry.h"

#include <algorithm>
#include <cmath>

namespace portiqa {

namespace {

// The frame's place along one direction: `wanted` when the zoomed picture is smaller than the
// frame (nothing can avoid the bands then), else the nearest place inside the picture.
int keepInside(double wanted, int zoomedLength, int frameLength) {
    const int place = static_cast<int>(std::lround(wanted));
    if (zoomedLength < frameLength) {
        return place;
    }
    return std::clamp(place, 0, zoomedLength - frameLength);
}

} // namespace

ZoomRange ZoomRange::forPicture(QSize picture, int maxZoomedSide) {
    const int shortSide = std::max(1, std::min(picture.width(), picture.height()));
    const int longSide = std::max(1, std::max(picture.width(), picture.height()));
    ZoomRange range;
    range.low = 1.0 / shortSide;
    while (WorkspaceGeometry::zoomedSide(shortSide, range.low) < 1) {
        range.low = std::nextafter(range.low, 2.0);
    }
    range.high = static_cast<double>(maxZoomedSide) / longSide;
    while (WorkspaceGeometry::zoomedSide(longSide, range.high) > maxZoomedSide) {
        range.high = std::nextafter(range.high, 0.0);
    }
    range.high = std::max(range.high, range.low);
    return range;
}

std::optional<FaceFraming> FramingRule::frame(const DetectedFaces& faces, QSize picture,
                                              QSize output, ZoomRange zoomRange) {
    const DetectedFace* face = HeadEstimate::largest(faces);
    if (face == nullptr || picture.isEmpty() || output.isEmpty()) {
        return std::nullopt;
    }
    return frameHead(HeadEstimate::measure(*face), picture, output, zoomRange);
}

FaceFraming FramingRule::frameHead(const HeadMeasures& head, QSize picture, QSize output,
                                   ZoomRange zoomRange) {
    const IdPhotoTarget target = IdPhotoTargets::forOutputSize(output);
    const double width = output.width();
    const double height = output.height();
    const bool byWidth = target.measure == IdPhotoTarget::Measure::FaceWidth;
    const double measured = byWidth ? head.faceWidth : head.headHeight();
    const double wanted = target.sizeAim() * (byWidth ? width : height);

    FaceFraming framing;
    const double ideal = measured > 0 ? wanted / measured : 1.0;
    framing.zoom = std::clamp(ideal, zoomRange.low, zoomRange.high);
    framing.zoomLimited = framing.zoom != ideal;

    const int zoomedWidth = WorkspaceGeometry::zoomedSide(picture.width(), framing.zoom);
    const int zoomedHeight = WorkspaceGeometry::zoomedSide(picture.height(), framing.zoom);
    // Picture pixel x lies at x * zoomed / picture on the zoomed picture.
    const double sx = picture.width() > 0 ? double(zoomedWidth) / picture.width() : 0;
    const double sy = picture.height() > 0 ? double(zoomedHeight) / picture.height() : 0;
    const double eyeRowInFrame = height - target.eyeLineAim() * height;
    framing.frameOnZoomed =
        QPoint(keepInside(head.centreX * sx - width / 2, zoomedWidth, output.width()),
               keepInside(head.eyeLineY * sy - eyeRowInFrame, zoomedHeight, output.height()));
    return framing;
}

} // namespace portiqa
