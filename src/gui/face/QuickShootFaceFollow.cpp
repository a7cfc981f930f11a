#include "gui/face/QuickShootFaceFollow.h"

#include "core/camera/QuickFrame.h"
#include "core/face/FaceDetector.h"
#include "gui/app/FeatureLinks.h"
#include "gui/camera/CameraFeature.h"
#include "gui/camera/CameraWindow.h"
#include "gui/camera/PreviewWidget.h"

#include <QGroupBox>
#include <QtConcurrent/QtConcurrentRun>

namespace portiqa {

QuickShootFaceFollow::QuickShootFaceFollow(CameraFeature& camera, const FeatureLinks& links,
                                           const FaceDetector& detector, QObject* parent)
    : QObject(parent), camera_(camera), links_(links), detector_(detector) {
    timer_.setInterval(IntervalMs);
    connect(&timer_, &QTimer::timeout, this, &QuickShootFaceFollow::tick);
    connect(&search_, &QFutureWatcher<DetectedFaces>::finished, this,
            &QuickShootFaceFollow::facesFound);
    timer_.start();
}

QuickShootFaceFollow::~QuickShootFaceFollow() {
    timer_.stop();
    search_.disconnect(this);
    search_.waitForFinished(); // the worker uses the detector
}

void QuickShootFaceFollow::tick() {
    CameraWindow* window = camera_.cameraWindowOpen() ? camera_.window() : nullptr;
    const bool active = window != nullptr && links_.autoFrameOn() && links_.quickShootMode();
    if (active && (!active_ || window != window_)) {
        follower_.restart(); // quick-shoot (or the window) begins anew
        placed_.reset();
    }
    active_ = active;
    window_ = window;
    if (!active || !follower_.following()) {
        return;
    }
    if (placed_ && window->quickFrameTopLeft() != *placed_) {
        follower_.operatorMoved(); // the frame is not where this object left it
        return;
    }
    if (search_.isRunning()) {
        return;
    }
    const QImage preview = window->previewImage();
    if (preview.isNull()) {
        return;
    }
    previewOrigin_ = window->preview()->geometry().topLeft();
    const FaceDetector* detector = &detector_;
    search_.setFuture(QtConcurrent::run([detector, preview] { return detector->detect(preview); }));
}

void QuickShootFaceFollow::facesFound() {
    CameraWindow* window = window_;
    if (window == nullptr || !active_ || !follower_.following()) {
        return;
    }
    if (placed_ && window->quickFrameTopLeft() != *placed_) {
        follower_.operatorMoved();
        return;
    }
    DetectedFaces faces = search_.result();
    for (DetectedFace& face : faces) {
        face.box.translate(previewOrigin_);
        face.leftEye += previewOrigin_;
        face.rightEye += previewOrigin_;
    }
    const QSize output = window->capturePanel()->size();
    const QPoint current = window->quickFrameTopLeft();
    if (const auto next = follower_.follow(current, faces, output)) {
        const QPoint kept = quickframe::clampedDrag(*next, window->groupBox()->size(), output);
        window->moveQuickFrameTo(kept);
    }
    placed_ = window->quickFrameTopLeft();
    emit followed();
}

} // namespace portiqa
