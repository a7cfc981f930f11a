#pragma once

// The top of a head with its hair (or a cap worn on it), found in the picture: how high the
// head's silhouette rises above the face against the background. Hair adds anything from
// nothing to half a face width above the skull, so no fixed ratio of the face places it.
//
// OpenCV's GrabCut separates the head from the background in a region around it, cut at about
// 32 px per face width: the face itself is surely head, the corners above and beside the head
// surely background, the column over the face probably head. The rows of a strip over the
// face's middle are then followed up from the forehead while they stay head. A cut that stops
// below where any head ends (the hair as dark as the wall behind it: the cut then ends at the
// hairline) gives nothing, and the framing falls back to a typical head.
//
// Plain function of the pixels; any thread.

#include <QImage>

#include <optional>

namespace portiqa {

struct HeadTopSearch {
    double centreX = 0;   // the face's middle (between the eyes)
    double eyeLineY = 0;  // the eye line
    double faceWidth = 0; // cheek to cheek
};

struct HeadTopFound {
    double y = 0;              // the top row of the head, hair included
    bool atPictureTop = false; // the head runs out of the picture at its top edge
};

class HeadTop {
public:
    static std::optional<HeadTopFound> find(const QImage& picture, const HeadTopSearch& head);
};

} // namespace portiqa
