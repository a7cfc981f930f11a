#pragma once

// The camera feature: owns the camera backend, the camera window while it is open, the
// quick-shoot switch and shot, the quick-shoot settings window and the camera's aspect ratio
// (kept between openings). It fills the FeatureLinks entries it owns (quickShootMode,
// cameraWindowOpen, openCameraWindow, closeCameraWindow) and reaches the other features only
// through the links.
//
// GUI thread only.

#include "core/camera/QuickShootSwitch.h"
#include "core/camera/QuickShot.h"
#include "gui/camera/CameraConnection.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

namespace portiqa {

class CameraBackend;
class CameraWindow;
class Dialogs;
class MainWindow;
class OutputEncoder;
class OutputSizeEdits;
class QuickShootSettingsWindow;
class RosterSheet;
class SettingsFile;
class ShutterSound;
class WorkspaceController;
struct FeatureLinks;
struct OutputSpec;

struct CameraFeatureDeps {
    MainWindow* mainWindow = nullptr;
    Dialogs* dialogs = nullptr;
    FeatureLinks* links = nullptr;
    WorkspaceController* workspace = nullptr;
    QuickShootSettings* settings = nullptr;
    SettingsFile* settingsFile = nullptr;
    OutputSizeEdits* sizeEdits = nullptr;
    const OutputSpec* output = nullptr;
    RosterSheet* roster = nullptr;
    OutputEncoder* encoder = nullptr;
    QString settingsFolder;
    // The camera; when not given, the program's choice (PORTIQA_CAMERA) at the first opening.
    std::unique_ptr<CameraBackend> camera;
};

class CameraFeature : public QObject {
    Q_OBJECT
public:
    explicit CameraFeature(CameraFeatureDeps deps, QObject* parent = nullptr);
    ~CameraFeature() override;

    // Opens the camera window, or raises it when it is open.
    void openCameraWindow();
    void closeCameraWindow();
    bool cameraWindowOpen() const;
    CameraWindow* window() const;
    // The camera backend; the program's choice is made at the first use.
    CameraBackend& camera();
    QuickShootSwitch& quickSwitch() { return *switch_; }
    double aspect() const { return aspect_; }
    // How long a window opened from now on waits for the camera's first frame before it shows
    // the preview at the ratio it has.
    void setFirstFrameTimeout(int milliseconds) { firstFrameTimeoutMs_ = milliseconds; }

    // The main window's width or height edit took a new value.
    void outputSideChanged(bool widthEdit);
    // The program is ending: the camera is released.
    void shutDown();

    // What the window's buttons run.
    void takePhoto(const QImage& photo);
    QuickShotResult quickShot();
    void openQuickSettings();

private:
    void fillLinks();
    void windowClosed();

    CameraFeatureDeps deps_;
    std::unique_ptr<CameraBackend> camera_;
    std::unique_ptr<QuickShootSwitch> switch_;
    std::unique_ptr<QuickShot> shot_;
    ShutterSound* sound_ = nullptr;
    QPointer<CameraWindow> window_;
    QPointer<QuickShootSettingsWindow> settingsWindow_;
    double aspect_;
    int firstFrameTimeoutMs_;
};

} // namespace portiqa
