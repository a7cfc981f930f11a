#pragma once

// The ID-photo framing rule: from a detected head, the zoom and the frame's place on the
// zoomed picture at which the head has the size its output size asks for (IdPhotoTargets),
// the eye line sits at its target height above the frame's bottom edge and the face is
// centred horizontally.
//
// The zoom stays within the workspace's bounds (a face too small or too large for them gets
// the nearest zoom they allow, and says so); the frame is kept inside the zoomed picture in
// each direction where the picture is at least as large as the frame, so the photo never gets
// white bands that the picture could fill.

#include "core/face/DetectedFace.h"
#include "core/face/IdPhotoTargets.h"

#include <QPoint>
#include <QSize>

#include <optional>

namespace portiqa {

struct ZoomRange {
    double low = 0;
    double high = 0;
    // The zooms at which both zoomed sides of `picture` stay within 1..maxZoomedSide pixels.
    static ZoomRange forPicture(QSize picture, int maxZoomedSide);
};

struct FaceFraming {
    double zoom = 1;
    QPoint frameOnZoomed;     // the frame's top-left in pixels of the zoomed picture
    bool zoomLimited = false; // the zoom bounds kept the head from its target size
};

class FramingRule {
public:
    // The framing of the largest face; nothing when there is no face.
    static std::optional<FaceFraming> frame(const DetectedFaces& faces, QSize picture, QSize output,
                                            ZoomRange zoomRange);
    static FaceFraming frameHead(const HeadMeasures& head, QSize picture, QSize output,
                                 ZoomRange zoomRange);
};

} // namespace portiqa
