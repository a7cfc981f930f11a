#pragma once

// Our own versions of a capture driver's two dialogs:
//   "设备参数" (device parameters): which camera, and its exposure and white-balance modes where
//              the device offers a choice;
//   "视频格式" (video format): the connected camera's formats (resolution, frame rate, pixel
//              format).
// Confirming applies the choice to the camera; cancelling changes nothing. A camera that will
// not connect after a change of device gives the previous one back when it can.

#include <QDialog>

class QComboBox;
class QLabel;

namespace portiqa {

class CameraBackend;

class CameraDeviceDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CameraDeviceDialog(CameraBackend& camera, QWidget* parent = nullptr);

    QComboBox* deviceBox() const { return devices_; }
    QComboBox* exposureBox() const { return exposure_; }
    QComboBox* whiteBalanceBox() const { return whiteBalance_; }

    void accept() override;

private:
    CameraBackend& camera_;
    QComboBox* devices_;
    QComboBox* exposure_;
    QComboBox* whiteBalance_;
};

class CameraFormatDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CameraFormatDialog(CameraBackend& camera, QWidget* parent = nullptr);

    QComboBox* formatBox() const { return formats_; }

    void accept() override;

private:
    CameraBackend& camera_;
    QComboBox* formats_;
};

} // namespace portiqa
