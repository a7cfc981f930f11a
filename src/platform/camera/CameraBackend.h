#pragma once

// A source of live camera frames, as the camera window needs one: the list of cameras, one
// connected camera at a time, its formats (resolution, frame rate, pixel format) and, where the
// device has them, exposure and white-balance modes. Frames arrive as opaque QImages at the
// camera's own resolution; the window scales them to its preview.
//
// Two kinds exist: the machine's webcams through Qt Multimedia, and a built-in test pattern
// (createCameraBackend() picks by PORTIQA_CAMERA). Neither ever blocks the GUI thread for long.
//
// GUI thread only.

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

namespace portiqa {

struct CameraFormat {
    QSize resolution;
    double minFrameRate = 0;
    double maxFrameRate = 0;
    QString pixelFormat;

    // "1280 x 720, 30 帧/秒, YUYV", as the format dialog lists it.
    QString description() const;
};

// A choice among named modes (exposure, white balance): the names shown and the current one.
struct CameraModeChoice {
    QStringList names;
    int current = -1;
    bool available() const { return names.size() > 1; }
};

class CameraBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~CameraBackend() override = default;

    // The cameras' descriptions, in the system's order.
    virtual QStringList devices() const = 0;
    // Connects camera `index` (disconnecting any other) and starts delivering frames. False
    // when the index names no camera or the camera cannot be opened.
    virtual bool connectDevice(int index) = 0;
    // Stops the frames and releases the camera; nothing when none is connected.
    virtual void disconnectDevice() = 0;
    // The connected camera's index, or -1.
    virtual int currentDevice() const = 0;
    bool isConnected() const { return currentDevice() >= 0; }

    // The preview's pace in milliseconds; a camera that sets its own pace may ignore it.
    virtual void setFrameInterval(int milliseconds) = 0;

    // The latest frame at the camera's own resolution; null before the first one.
    virtual QImage currentFrame() const = 0;

    // The connected camera's formats, and the one in use (-1 when unknown).
    virtual QList<CameraFormat> formats() const = 0;
    virtual int currentFormat() const = 0;
    virtual bool setFormat(int index) = 0;

    virtual CameraModeChoice exposureModes() const { return {}; }
    virtual void setExposureMode(int) {}
    virtual CameraModeChoice whiteBalanceModes() const { return {}; }
    virtual void setWhiteBalanceMode(int) {}

signals:
    // A new frame is in currentFrame().
    void frameArrived();
    // The connected camera failed or went away (unplugged, taken by another program); it is
    // disconnected now.
    void connectionLost();
};

// The backend PORTIQA_CAMERA asks for (the webcams when unset); a value it does not understand
// is reported once on stderr and the webcams are used.
std::unique_ptr<CameraBackend> createCameraBackend();

} // namespace portiqa
