#pragma once

// The camera window's hold on the camera: connecting the last camera of the list, measuring the
// shape of its frames into the program's camera ratio, and handing the frames on.
//
// A webcam's stream starts a moment after it is connected, so its first frame, and with it the
// shape the window must be sized for, comes late. After connecting, the connection waits for
// that first frame, at most firstFrameTimeout() milliseconds; when the wait ends (the frame came
// or the time ran out) waitEnded() is emitted once. The first shape measured after connecting
// may come after the timeout too: ratioChanged() says whether it is that first shape, which the
// window sizes itself for by the opening rule, or a later change of format.
//
// GUI thread only. The camera must outlive this object; a connection left connected is not
// released here (the window disconnects when it closes).

#include <QImage>
#include <QObject>
#include <QSize>
#include <QTimer>

namespace portiqa {

class CameraBackend;

class CameraConnection final : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultFirstFrameTimeoutMs = 5000;

    // `aspect` is the program's camera ratio (height / width), kept between openings; it is
    // updated whenever a frame of another shape is measured.
    CameraConnection(CameraBackend& camera, double& aspect, QObject* parent = nullptr);

    // Connects the last camera of the list (with one webcam, that one) and, when it has no
    // frame yet, starts waiting for the first. False when none connects.
    bool connectCamera();
    void disconnectCamera();
    bool connected() const;
    // Connected, and neither the first frame nor the timeout has come yet.
    bool waiting() const { return wait_.isActive(); }
    double aspect() const { return aspect_; }
    // A frame's shape has been measured since connecting.
    bool shapeMeasured() const { return shapeMeasured_; }

    // Takes the current frame's shape as the camera's ratio (after the driver dialogs). A
    // missing frame leaves the ratio as it is.
    void probeFrameAspect();
    void setFrameInterval(int milliseconds);
    void setFirstFrameTimeout(int milliseconds) { wait_.setInterval(milliseconds); }
    int firstFrameTimeout() const { return wait_.interval(); }

signals:
    // The wait after connecting is over: the first frame came or the time ran out.
    void waitEnded();
    // A frame of another shape changed the ratio. `firstShape`: the first shape measured since
    // connecting, rather than a new format of a running camera.
    void ratioChanged(bool firstShape);
    // A new frame at the camera's own resolution.
    void frameArrived(const QImage& frame);
    // The camera failed or went away and is disconnected now.
    void connectionLost();

private:
    void cameraFrame();
    void lost();
    // Measures `frame`; true when the ratio changed.
    bool measure(const QImage& frame);

    CameraBackend& camera_;
    double& aspect_;
    QTimer wait_;
    QSize lastMeasured_; // the frame size the ratio was last taken from
    bool shapeMeasured_ = false;
};

} // namespace portiqa
