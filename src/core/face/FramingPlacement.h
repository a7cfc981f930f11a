#pragma once

// Puts a face framing on show through the workspace's own state: the zoom, the two scroll
// fractions and the frame's place, so the operator goes on from there with the usual
// controls and a save takes exactly what is shown.
//
// The frame stays where it is when the picture can scroll the face under it (moved only
// enough to lie wholly inside the picture area); where the picture cannot scroll that far,
// the frame moves onto the face instead.

#include "core/face/FramingRule.h"

#include <QPoint>
#include <QSize>

#include <optional>

namespace portiqa {

class PhotoWorkspace;

struct WorkspaceFraming {
    double zoom = 1;
    double fractionX = 0.5;
    double fractionY = 0.5;
    QPoint frameTopLeft;
};

class FramingPlacement {
public:
    struct View {
        QSize picture;
        QSize area;
        QSize frame;
        QPoint frameTopLeft;
        double fractionX = 0.5;
        double fractionY = 0.5;
    };
    static WorkspaceFraming place(const FaceFraming& framing, const View& view);

    // Frames the largest face on the workspace's picture and returns the framing shown.
    // Nothing (and nothing changes) without a picture or a face.
    static std::optional<FaceFraming> apply(PhotoWorkspace& workspace, const DetectedFaces& faces);
};

} // namespace portiqa
