#include "platform/camera/QtCamera.h"

#include <QMediaDevices>
#include <QVideoFrame>

namespace portiqa {

namespace {

struct NamedExposure {
    QCamera::ExposureMode mode;
    const char16_t* name;
};
const NamedExposure kExposures[] = {
    {QCamera::ExposureAuto, u"自动"},     {QCamera::ExposureManual, u"手动"},
    {QCamera::ExposurePortrait, u"人像"}, {QCamera::ExposureNight, u"夜间"},
    {QCamera::ExposureSports, u"运动"},
};

struct NamedWhiteBalance {
    QCamera::WhiteBalanceMode mode;
    const char16_t* name;
};
const NamedWhiteBalance kWhiteBalances[] = {
    {QCamera::WhiteBalanceAuto, u"自动"},       {QCamera::WhiteBalanceSunlight, u"日光"},
    {QCamera::WhiteBalanceCloudy, u"阴天"},     {QCamera::WhiteBalanceShade, u"阴影"},
    {QCamera::WhiteBalanceTungsten, u"白炽灯"}, {QCamera::WhiteBalanceFluorescent, u"荧光灯"},
};

} // namespace

QtCamera::QtCamera(QObject* parent) : CameraBackend(parent) {
    session_.setVideoSink(&sink_);
    connect(&sink_, &QVideoSink::videoFrameChanged, this, &QtCamera::frameChanged);
}

QtCamera::~QtCamera() {
    disconnectDevice();
}

QStringList QtCamera::devices() const {
    QStringList names;
    for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
        names.append(device.description());
    }
    return names;
}

bool QtCamera::connectDevice(int index) {
    disconnectDevice();
    inputs_ = QMediaDevices::videoInputs();
    if (index < 0 || index >= inputs_.size()) {
        return false;
    }
    auto camera = std::make_unique<QCamera>(inputs_.at(index));
    if (camera->error() != QCamera::NoError) {
        return false;
    }
    session_.setCamera(camera.get());
    // Opening can fail later (the device is busy or goes away): the window then offers retry.
    connect(camera.get(), &QCamera::errorOccurred, this, [this](QCamera::Error error) {
        if (error != QCamera::NoError && camera_) {
            disconnectDevice();
            emit connectionLost();
        }
    });
    camera->start();
    if (camera->error() != QCamera::NoError) {
        session_.setCamera(nullptr);
        return false;
    }
    camera_ = std::move(camera);
    current_ = index;
    return true;
}

void QtCamera::disconnectDevice() {
    if (camera_) {
        camera_->stop();
        session_.setCamera(nullptr);
        // Later: this may run inside the camera's own error signal.
        camera_.release()->deleteLater();
    }
    current_ = -1;
    frame_ = QImage();
}

void QtCamera::frameChanged(const QVideoFrame& frame) {
    if (!camera_ || !frame.isValid()) {
        return;
    }
    QImage image = frame.toImage();
    if (image.isNull()) {
        return;
    }
    frame_ = image.format() == QImage::Format_RGB32 ? image
                                                    : image.convertToFormat(QImage::Format_RGB32);
    emit frameArrived();
}

QList<CameraFormat> QtCamera::formats() const {
    QList<CameraFormat> list;
    if (!camera_) {
        return list;
    }
    for (const QCameraFormat& format : camera_->cameraDevice().videoFormats()) {
        list.append({format.resolution(), format.minFrameRate(), format.maxFrameRate(),
                     QVideoFrameFormat::pixelFormatToString(format.pixelFormat())});
    }
    return list;
}

int QtCamera::currentFormat() const {
    if (!camera_) {
        return -1;
    }
    const QList<QCameraFormat> all = camera_->cameraDevice().videoFormats();
    return int(all.indexOf(camera_->cameraFormat()));
}

bool QtCamera::setFormat(int index) {
    if (!camera_) {
        return false;
    }
    const QList<QCameraFormat> all = camera_->cameraDevice().videoFormats();
    if (index < 0 || index >= all.size()) {
        return false;
    }
    camera_->setCameraFormat(all.at(index));
    return true;
}

CameraModeChoice QtCamera::exposureModes() const {
    CameraModeChoice choice;
    if (!camera_) {
        return choice;
    }
    for (const NamedExposure& entry : kExposures) {
        if (camera_->isExposureModeSupported(entry.mode)) {
            if (entry.mode == camera_->exposureMode()) {
                choice.current = int(choice.names.size());
            }
            choice.names.append(QString::fromUtf16(entry.name));
        }
    }
    return choice;
}

void QtCamera::setExposureMode(int index) {
    if (!camera_) {
        return;
    }
    int seen = 0;
    for (const NamedExposure& entry : kExposures) {
        if (camera_->isExposureModeSupported(entry.mode)) {
            if (seen++ == index) {
                camera_->setExposureMode(entry.mode);
                return;
            }
        }
    }
}

CameraModeChoice QtCamera::whiteBalanceModes() const {
    CameraModeChoice choice;
    if (!camera_) {
        return choice;
    }
    for (const NamedWhiteBalance& entry : kWhiteBalances) {
        if (camera_->isWhiteBalanceModeSupported(entry.mode)) {
            if (entry.mode == camera_->whiteBalanceMode()) {
                choice.current = int(choice.names.size());
            }
            choice.names.append(QString::fromUtf16(entry.name));
        }
    }
    return choice;
}

void QtCamera::setWhiteBalanceMode(int index) {
    if (!camera_) {
        return;
    }
    int seen = 0;
    for (const NamedWhiteBalance& entry : kWhiteBalances) {
        if (camera_->isWhiteBalanceModeSupported(entry.mode) && seen++ == index) {
            camera_->setWhiteBalanceMode(entry.mode);
            return;
        }
    }
}

} // namespace portiqa
