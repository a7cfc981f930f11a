#pragma once

// While pictures are framed on the face and quick-shoot is on, the quick-shoot frame follows
// the face on the camera preview: four times a second the picture on show is searched on a
// worker and the frame glides toward the face (FaceFollower). When the operator drags or moves
// the frame, following stops until quick-shoot is switched on again or the window reopens.
//
// GUI thread only; the camera feature and the detector must outlive it.

#include "core/face/DetectedFace.h"
#include "core/face/FaceFollower.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

namespace portiqa {

class CameraFeature;
class CameraWindow;
class FaceDetector;
struct FeatureLinks;

class QuickShootFaceFollow : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 250;

    QuickShootFaceFollow(CameraFeature& camera, const FeatureLinks& links,
                         const FaceDetector& detector, QObject* parent = nullptr);
    ~QuickShootFaceFollow() override;

    const FaceFollower& follower() const { return follower_; }
    // One round now (the timer's tick); for tests.
    void tick();

signals:
    // A search's faces were applied to the frame (moved or not).
    void followed();

private:
    void facesFound();

    CameraFeature& camera_;
    const FeatureLinks& links_;
    const FaceDetector& detector_;
    FaceFollower follower_;
    QTimer timer_;
    QFutureWatcher<DetectedFaces> search_;
    QPointer<CameraWindow> window_; // the window the last round looked at
    bool active_ = false;           // quick-shoot with framing was on at the last round
    QPoint previewOrigin_;          // where the searched preview lay in the frame's coordinates
    std::optional<QPoint> placed_;  // where this object last put the frame
};

} // namespace portiqa
