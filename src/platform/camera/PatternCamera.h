#pragma once

// The built-in test-pattern camera: one device whose frames show a moving colour field, a
// face-like shape and a running clock, at a chosen resolution. Tests, demos and machines
// without a webcam use it (PORTIQA_CAMERA=pattern or pattern:WIDTHxHEIGHT). With no device
// at all it stands for a machine without a camera (PORTIQA_CAMERA=none).
//
// A connected pattern has its first frame at once, or after a chosen delay, as a real webcam
// whose stream takes a moment to start (PORTIQA_CAMERA=pattern:1280x720,delay=500); later
// frames follow the frame interval. Its formats are the chosen size plus the common 4:3 and 16:9
// sizes, so switching formats changes the frames' aspect like a real webcam does.

#include "platform/camera/CameraBackend.h"

#include <QTimer>

namespace portiqa {

class PatternCamera final : public CameraBackend {
    Q_OBJECT
public:
    // `size`: the resolution of the device's first format; an empty size means no device.
    explicit PatternCamera(QSize size, QObject* parent = nullptr);

    QStringList devices() const override;
    bool connectDevice(int index) override;
    void disconnectDevice() override;
    int currentDevice() const override { return connected_ ? 0 : -1; }
    void setFrameInterval(int milliseconds) override;
    QImage currentFrame() const override { return frame_; }
    QList<CameraFormat> formats() const override;
    int currentFormat() const override { return connected_ ? format_ : -1; }
    bool setFormat(int index) override;
    CameraModeChoice exposureModes() const override;
    void setExposureMode(int index) override;

    // The time from connecting to the first frame; 0 (the default) delivers it at once, inside
    // connectDevice().
    void setFirstFrameDelay(int milliseconds);

    // Plugs the device in (at `size`) or out (an empty size), like a webcam on its cable; a
    // connected device that is unplugged stops.
    void plug(QSize size);

    // Makes the next frame now (tests step the pattern without waiting for the timer).
    void advance();
    int frameNumber() const { return frameNumber_; }

    // One frame of the pattern: the same size, number and brightness give the same pixels.
    static QImage renderFrame(QSize size, int frameNumber, const QString& clockText,
                              int brightness = 0);

private:
    QList<CameraFormat> formats_;
    QTimer timer_;
    QTimer firstFrame_; // single shot: the late first frame of a connection
    QImage frame_;
    int format_ = 0;
    int frameNumber_ = 0;
    int brightness_ = 0; // from the exposure mode
    bool hasDevice_ = false;
    bool connected_ = false;
};

} // namespace portiqa
