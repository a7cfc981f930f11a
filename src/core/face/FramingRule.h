#pragma once

// The ID-photo framing rule: from a detected head, the zoom and the frame's place on the
// zoomed picture at which the head has a size within the range its output size asks for
// (IdPhotoTargets), the eye line sits within its range above the frame's bottom edge and the
// face is centred horizontally.
//
// Inside those ranges, in this order: the whole head with its hair stays inside the frame;
// the frame stays inside the picture (no white band); then size and eye line come as near the
// middle of their ranges, and the top of the hair as near its margin below the top edge, as
// they can. The size and the eye line never leave their ranges for the others: hair that stands too
// high is cut, and a picture that ends too close to the head leaves a band. The result says
// which of the two remained.
//
// The zoom stays within the workspace's bounds (a face too small or too large for them gets
// the nearest zoom they allow, and says so). A face near a side edge is moved off the middle
// rather than leave a band there.

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
    bool hairCut = false;     // the top of the hair is outside the frame (or the picture)
    bool band = false;        // the frame reaches beyond the picture: white there
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
