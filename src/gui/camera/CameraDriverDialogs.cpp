#include "gui/camera/CameraDriverDialogs.h"

#include "platform/camera/CameraBackend.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace portiqa {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// Fills a mode box; a device without a choice shows the box disabled.
void fillModes(QComboBox* box, const CameraModeChoice& choice) {
    box->addItems(choice.names);
    box->setCurrentIndex(choice.current);
    box->setEnabled(choice.available());
}

} // namespace

CameraDeviceDialog::CameraDeviceDialog(CameraBackend& camera, QWidget* parent)
    : QDialog(parent), camera_(camera), devices_(new QComboBox(this)),
      exposure_(new QComboBox(this)), whiteBalance_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("设备参数"));
    devices_->addItems(camera_.devices());
    devices_->setCurrentIndex(camera_.currentDevice());
    fillModes(exposure_, camera_.exposureModes());
    fillModes(whiteBalance_, camera_.whiteBalanceModes());
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("摄像头"), devices_);
    form->addRow(QStringLiteral("曝光"), exposure_);
    form->addRow(QStringLiteral("白平衡"), whiteBalance_);
    form->addRow(okCancel(this));
}

void CameraDeviceDialog::accept() {
    const int before = camera_.currentDevice();
    const int chosen = devices_->currentIndex();
    if (chosen >= 0 && chosen != before) {
        if (!camera_.connectDevice(chosen) && before >= 0) {
            camera_.connectDevice(before);
        }
    } else {
        if (exposure_->isEnabled() && exposure_->currentIndex() >= 0) {
            camera_.setExposureMode(exposure_->currentIndex());
        }
        if (whiteBalance_->isEnabled() && whiteBalance_->currentIndex() >= 0) {
            camera_.setWhiteBalanceMode(whiteBalance_->currentIndex());
        }
    }
    QDialog::accept();
}

CameraFormatDialog::CameraFormatDialog(CameraBackend& camera, QWidget* parent)
    : QDialog(parent), camera_(camera), formats_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("视频格式"));
    for (const CameraFormat& format : camera_.formats()) {
        formats_->addItem(format.description());
    }
    formats_->setCurrentIndex(camera_.currentFormat());
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("格式"), formats_);
    form->addRow(okCancel(this));
}

void CameraFormatDialog::accept() {
    const int chosen = formats_->currentIndex();
    if (chosen >= 0 && chosen != camera_.currentFormat()) {
        camera_.setFormat(chosen);
    }
    QDialog::accept();
}

} // namespace portiqa
