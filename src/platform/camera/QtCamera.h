#pragma once

// The machine's webcams through Qt Multimedia (V4L2 on Linux, through the GStreamer or FFmpeg
// backend of Qt Multimedia): QMediaDevices lists them, a QCamera in a QMediaCaptureSession
// delivers frames to a QVideoSink, and each frame becomes a QImage.

#include "platform/camera/CameraBackend.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QVideoSink>

#include <memory>

namespace portiqa {

class QtCamera final : public CameraBackend {
    Q_OBJECT
public:
    explicit QtCamera(QObject* parent = nullptr);
    ~QtCamera() override;

    QStringList devices() const override;
    bool connectDevice(int index) override;
    void disconnectDevice() override;
    int currentDevice() const override { return current_; }
    void setFrameInterval(int) override {} // the camera keeps its own pace
    QImage currentFrame() const override { return frame_; }
    QList<CameraFormat> formats() const override;
    int currentFormat() const override;
    bool setFormat(int index) override;
    CameraModeChoice exposureModes() const override;
    void setExposureMode(int index) override;
    CameraModeChoice whiteBalanceModes() const override;
    void setWhiteBalanceMode(int index) override;

private:
    void frameChanged(const QVideoFrame& frame);

    QList<QCameraDevice> inputs_;
    QMediaCaptureSession session_;
    QVideoSink sink_;
    std::unique_ptr<QCamera> camera_;
    QImage frame_;
    int current_ = -1;
};

} // namespace portiqa
