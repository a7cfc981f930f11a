#include "gui/camera/CameraConnection.h"

#include "core/text/Numbers.h"
#include "platform/camera/CameraBackend.h"

namespace portiqa {

CameraConnection::CameraConnection(CameraBackend& camera, double& aspect, QObject* parent)
    : QObject(parent), camera_(camera), aspect_(aspect) {
    wait_.setSingleShot(true);
    wait_.setInterval(kDefaultFirstFrameTimeoutMs);
    connect(&wait_, &QTimer::timeout, this, &CameraConnection::waitEnded);
    connect(&camera_, &CameraBackend::frameArrived, this, &CameraConnection::cameraFrame);
    connect(&camera_, &CameraBackend::connectionLost, this, &CameraConnection::lost);
}

bool CameraConnection::connectCamera() {
    wait_.stop();
    shapeMeasured_ = false;
    lastMeasured_ = QSize();
    const int count = int(camera_.devices().size());
    if (count <= 0 || !camera_.connectDevice(count - 1)) {
        return false;
    }
    // A camera may hold a frame at once (its signal then came inside connectDevice()).
    const QImage frame = camera_.currentFrame();
    if (!shapeMeasured_ && !frame.isNull()) {
        measure(frame);
    }
    if (!shapeMeasured_) {
        wait_.start();
    }
    return true;
}

void CameraConnection::disconnectCamera() {
    wait_.stop();
    camera_.disconnectDevice();
}

bool CameraConnection::connected() const {
    return camera_.isConnected();
}

void CameraConnection::setFrameInterval(int milliseconds) {
    camera_.setFrameInterval(milliseconds);
}

void CameraConnection::probeFrameAspect() {
    const QImage frame = camera_.currentFrame();
    if (!frame.isNull()) {
        measure(frame);
    }
}

bool CameraConnection::measure(const QImage& frame) {
    if (frame.width() <= 0 || frame.height() <= 0) {
        return false; // nothing measured: the ratio stays
    }
    lastMeasured_ = frame.size();
    shapeMeasured_ = true;
    const double ratio = double(frame.height()) / frame.width();
    if (numbers::nearlyEqual(ratio, aspect_)) {
        return false;
    }
    aspect_ = ratio;
    return true;
}

void CameraConnection::cameraFrame() {
    const QImage frame = camera_.currentFrame();
    if (frame.isNull()) {
        return;
    }
    const bool first = !shapeMeasured_;
    // The frames changed shape (the first frame, or a new format that took effect).
    if (frame.size() != lastMeasured_ && measure(frame)) {
        emit ratioChanged(first);
    }
    if (wait_.isActive()) {
        wait_.stop();
        emit waitEnded();
    }
    if (camera_.isConnected()) {
        emit frameArrived(frame);
    }
}

void CameraConnection::lost() {
    wait_.stop();
    emit connectionLost();
}

} // namespace portiqa
