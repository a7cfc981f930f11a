#include "gui/camera/CameraFeature.h"

#include "core/camera/CameraWindowSizing.h"
#include "core/dialogs/Dialogs.h"
#include "core/workspace/OutputSpec.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/camera/CameraDriverDialogs.h"
#include "gui/camera/CameraWindow.h"
#include "gui/camera/QuickShootSettingsWindow.h"
#include "gui/camera/ShutterSound.h"
#include "gui/output/NamePrompt.h"
#include "gui/workspace/WorkspaceController.h"
#include "platform/camera/CameraBackend.h"

#include <QApplication>

namespace portiqa {

CameraFeature::CameraFeature(CameraFeatureDeps deps, QObject* parent)
    : QObject(parent), deps_(std::move(deps)), camera_(std::move(deps_.camera)),
      aspect_(camerasizing::kDefaultAspect),
      firstFrameTimeoutMs_(CameraConnection::kDefaultFirstFrameTimeoutMs) {
    sound_ = new ShutterSound(this);
    FeatureLinks& links = *deps_.links;
    QuickShootSwitchSeams seams;
    seams.openSettingsWindow = [this] { openQuickSettings(); };
    seams.rosterWindowOpen = [&links] { return links.rosterWindowOpen(); };
    seams.openRosterWindow = [&links] { links.openRosterWindow(); };
    seams.closeRosterWindow = [&links] { links.closeRosterWindow(); };
    switch_ = std::make_unique<QuickShootSwitch>(*deps_.settings, *deps_.settingsFile,
                                                 *deps_.sizeEdits, *deps_.dialogs, seams);

    QuickShotContext context;
    context.settingsFolder = deps_.settingsFolder;
    context.sizeLimitKb = [this] { return deps_.output->sizeLimitKb; };
    context.outputOptions = [this] { return deps_.links->outputOptions(); };
    context.outputSizeUsable = [this] { return deps_.output->usable(); };
    context.captureFrame = [this] {
        return window_ ? deps_.links->replaceShotBackground(window_->quickFrameShot()) : QImage();
    };
    context.openSettingsWindow = [this] { openQuickSettings(); };
    context.openRosterWindow = [&links] { links.openRosterWindow(); };
    context.playShutterSound = [this] { sound_->play(); };
    context.setWaitCursor = [](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    context.promptForName = [this, &links](const NamePromptTarget& target) {
        NamePromptHotkeys hotkeys;
        hotkeys.registered = [&links] { return links.batchCropMode(); };
        hotkeys.registerAll = [&links] { links.restoreBatchHotkeys(); };
        hotkeys.unregisterAll = [&links] { links.releaseBatchHotkeys(); };
        hotkeys.batchCropModeOnClose = [&links] { return links.batchCropMode(); };
        NamePrompt prompt(target, *deps_.dialogs, false, true, std::move(hotkeys), window_);
        prompt.exec();
    };
    shot_ = std::make_unique<QuickShot>(*deps_.dialogs, *deps_.encoder, *deps_.roster,
                                        std::move(context));

    connect(deps_.mainWindow->controls().colourPicker, &ColourPickerButton::colourChosen, this,
            [this](const QColor& colour) {
                if (window_) {
                    window_->setFrameColour(colour);
                }
            });
    fillLinks();
}

CameraFeature::~CameraFeature() {
    // The window refers to the camera: it goes first, and the links stop reaching us.
    if (window_) {
        camera_->disconnectDevice();
        delete window_.data();
    }
    FeatureLinks& links = *deps_.links;
    links.quickShootMode = [] { return false; };
    links.cameraWindowOpen = [] { return false; };
    links.openCameraWindow = [] {};
    links.closeCameraWindow = [] {};
}

bool CameraFeature::cameraWindowOpen() const {
    return window_ != nullptr;
}

CameraWindow* CameraFeature::window() const {
    return window_;
}

CameraBackend& CameraFeature::camera() {
    if (!camera_) {
        camera_ = createCameraBackend();
    }
    return *camera_;
}

void CameraFeature::fillLinks() {
    FeatureLinks& links = *deps_.links;
    links.quickShootMode = [this] { return switch_->isOn(); };
    links.cameraWindowOpen = [this] { return cameraWindowOpen(); };
    links.openCameraWindow = [this] { openCameraWindow(); };
    links.closeCameraWindow = [this] {
        // Batch crop switching on: the camera window goes, and quick-shoot with it.
        if (!window_) {
            return;
        }
        closeCameraWindow();
        switch_->setOn(false);
    };
}

void CameraFeature::openCameraWindow() {
    if (window_) {
        window_->raise();
        window_->activateWindow();
        return;
    }
    CameraBackend& backend = camera(); // made at the first opening, not at start
    CameraWindowHooks hooks;
    hooks.outputSize = [this] {
        return QSize(deps_.output->outputWidth, deps_.output->outputHeight);
    };
    hooks.frameColour = [this] { return deps_.mainWindow->controls().colourPicker->colour(); };
    hooks.quickShootMode = [this] { return switch_->isOn(); };
    hooks.quickBoxClicked = [this](bool ticked) { switch_->boxClicked(ticked); };
    hooks.openQuickSettings = [this] { openQuickSettings(); };
    hooks.takePhoto = [this](const QImage& photo) { takePhoto(photo); };
    hooks.quickShot = [this] { quickShot(); };
    hooks.runDeviceDialog = [this] {
        CameraDeviceDialog dialog(*camera_, window_);
        return dialog.exec() == QDialog::Accepted;
    };
    hooks.runFormatDialog = [this] {
        CameraFormatDialog dialog(*camera_, window_);
        return dialog.exec() == QDialog::Accepted;
    };
    hooks.closed = [this] { windowClosed(); };
    window_ = new CameraWindow(backend, aspect_, std::move(hooks), deps_.mainWindow);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    window_->connection().setFirstFrameTimeout(firstFrameTimeoutMs_);
    window_->open(deps_.mainWindow->pos());
    if (window_->connected()) {
        switch_->cameraWindowOpened();
    }
    window_->show();
}

void CameraFeature::closeCameraWindow() {
    if (window_) {
        window_->close();
    }
}

void CameraFeature::windowClosed() {
    if (settingsWindow_) {
        settingsWindow_->reject();
    }
    deps_.links->closeRosterWindow();
    window_ = nullptr;
}

void CameraFeature::shutDown() {
    if (window_ && camera_) {
        camera_->disconnectDevice();
    }
}

void CameraFeature::outputSideChanged(bool widthEdit) {
    if (window_) {
        window_->outputSideChanged(widthEdit);
    }
}

void CameraFeature::takePhoto(const QImage& photo) {
    deps_.links->discardPendingText();
    if (photo.isNull()) {
        deps_.dialogs->inform(QStringLiteral("提示："),
                              QStringLiteral("摄像头还没有送来画面，请稍候再拍。"),
                              MessageIcon::None);
        return;
    }
    deps_.workspace->showCameraPhoto(photo);
    deps_.links->reapplyEditorCursor();
    deps_.mainWindow->lower();
}

QuickShotResult CameraFeature::quickShot() {
    return shot_->shoot(*deps_.settings);
}

void CameraFeature::openQuickSettings() {
    if (settingsWindow_) {
        settingsWindow_->raise();
        return;
    }
    FeatureLinks& links = *deps_.links;
    QuickSettingsSeams seams;
    seams.switchQuickShootOn = [this] { switch_->setOn(true); };
    seams.rosterWindowOpen = [&links] { return links.rosterWindowOpen(); };
    // Confirmed with naming by cell: an open roster window takes quick-shoot's texts.
    seams.openRosterWindow = [&links] {
        if (links.rosterWindowOpen())
            links.retargetRosterToShooting();
        else
            links.openRosterWindow();
    };
    seams.closeRosterWindow = [&links] { links.closeRosterWindow(); };
    QWidget* parent = window_ ? static_cast<QWidget*>(window_) : deps_.mainWindow;
    QuickShootSettingsWindow dialog(*deps_.settings, *deps_.settingsFile, *deps_.sizeEdits,
                                    *deps_.dialogs, std::move(seams), parent);
    settingsWindow_ = &dialog;
    dialog.exec();
}

} // namespace portiqa
