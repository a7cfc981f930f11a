#pragma once

// Moves the quick-shoot frame after the face on the live preview. The preview is shown one to
// one, so only the frame's place can follow: the face centred horizontally and the eye line
// at its target height above the frame's bottom edge (IdPhotoTargets).
//
// Detections arrive a few times a second and wobble by a few pixels; each one moves the frame
// a share of the way to its new place, and a difference of a pixel or two is left alone, so
// the frame glides instead of jittering. Once the operator drags or moves the frame by hand,
// following stops until restart().

#include "core/face/DetectedFace.h"

#include <QPoint>
#include <QSize>

#include <optional>

namespace portiqa {

class FaceFollower {
public:
    // How far each detection moves the frame toward its new place.
    static constexpr double Glide = 0.4;
    // Differences up to this many pixels (each direction) are left alone.
    static constexpr int DeadBand = 2;

    // The frame's top-left, in preview pixels, that puts `head` where `output` wants it.
    static QPoint frameFor(const HeadMeasures& head, QSize output);

    // The frame at `current` and the faces of the latest preview frame: where the frame goes
    // now. Nothing when it stays (no face, within the dead band, or no longer following).
    std::optional<QPoint> follow(QPoint current, const DetectedFaces& faces, QSize output);

    // The operator moved the frame: stop following.
    void operatorMoved() { following_ = false; }
    bool following() const { return following_; }
    // Follow again (the camera window opened, quick-shoot switched on).
    void restart() { following_ = true; }

private:
    bool following_ = true;
};

} // namespace portiqa
