#pragma once

// Owns the program's subsystem objects for the life of the process and hands references
// down; nothing of it is global.

#include "core/app/LaunchOptions.h"
#include "core/app/SettingsLocation.h"
#include "core/settings/BatchSettings.h"
#include "core/workspace/OutputSpec.h"
#include "gui/app/FeatureLinks.h"
#include "platform/camera/CameraBackend.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

namespace portiqa {

class AppCommands;
class Dialogs;
class OutputSizeController;
class MainWindowSizeEdits;
class SettingsFile;
class MainWindow;
class QtDialogs;
class WorkspaceController;
class ImageCodec;
class OutputEncoder;
class SaveCommand;
class BatchTaskFile;
class WorkspaceTaskView;
class RosterSheet;
class AutoFrameFeature;
class BatchCropWiring;
class CameraFeature;
class RosterWindow;
class EditorController;
class OutputOptionsFeature;
class BackgroundFeature;
class PrintSheetFeature;

namespace platform {
class DesktopOpener;
}

class PortiqaApp {
public:
    // `dialogs` replaces the Qt dialogs (tests answer from a script); null for the real ones.
    // `camera` replaces the camera PORTIQA_CAMERA chooses (tests pass a test pattern).
    explicit PortiqaApp(const LaunchOptions& options, Dialogs* dialogs = nullptr,
                        std::unique_ptr<CameraBackend> camera = nullptr);
    ~PortiqaApp();

    MainWindow& window() { return *window_; }
    WorkspaceController& workspace() { return *workspace_; }
    const BatchCropSettings& batchCropSettings() const { return batchCrop_; }
    const QuickShootSettings& quickShootSettings() const { return quickShoot_; }
    // The batch crop task; its pictures are shown in the workspace.
    BatchTaskFile& batchTask() { return *batchTask_; }
    // The imported roster that names pictures by cell; the roster window shows it.
    RosterSheet& roster() { return *roster_; }
    // The face framing command and its automatic switch.
    AutoFrameFeature& autoFrame() { return *autoFrame_; }
    // How the features reach each other; each fills in what it owns.
    FeatureLinks& links() { return links_; }
    // Batch crop: its switch, settings window, run and hotkeys.
    BatchCropWiring& batchCrop() { return *batchCropWiring_; }
    // The camera window, quick-shoot and their settings.
    CameraFeature& camera() { return *camera_; }
    QuickShootSettings& quickShootSettings() { return quickShoot_; }
    // The editor's tools and tool window.
    EditorController& editor() { return *editor_; }
    // The print sheet: its menu item and window.
    PrintSheetFeature& printSheet() { return *printSheet_; }
    OutputOptionsFeature& outputOptions() { return *outputOptions_; }
    BackgroundFeature& background() { return *background_; }
    // Runs the start-up sequence and shows the main window.
    void start();

private:
    void connectSaveCommand(Dialogs& dialogs);
    void wireCamera(Dialogs& dialogs);
    // The framed picture exactly as a save writes it; the save and the print sheet share it.
    QImage framedOutputPicture();

    LaunchOptions options_;
    std::unique_ptr<platform::DesktopOpener> opener_;
    std::unique_ptr<QtDialogs> dialogs_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<AppCommands> commands_;
    std::unique_ptr<WorkspaceController> workspace_;
    OutputSpec outputSpec_;
    BatchCropSettings batchCrop_;
    QuickShootSettings quickShoot_;
    std::unique_ptr<SettingsFile> settingsFile_;
    std::unique_ptr<MainWindowSizeEdits> sizeEdits_;
    std::unique_ptr<ImageCodec> codec_;
    std::unique_ptr<OutputEncoder> encoder_;
    std::unique_ptr<SaveCommand> save_;
    std::unique_ptr<WorkspaceTaskView> taskView_;
    std::unique_ptr<BatchTaskFile> batchTask_;
    std::unique_ptr<RosterSheet> roster_;
    std::unique_ptr<BatchCropWiring> batchCropWiring_;
    FeatureLinks links_;
    std::unique_ptr<AutoFrameFeature> autoFrame_;
    std::unique_ptr<OutputOptionsFeature> outputOptions_;
    std::unique_ptr<BackgroundFeature> background_;
    std::unique_ptr<CameraBackend> cameraBackend_; // handed to camera_ when it is made
    std::unique_ptr<CameraFeature> camera_;
    OutputSizeController* outputSizes_ = nullptr;   // owned by the window
    std::unique_ptr<RosterWindow> rosterWindow_;    // goes before the roster it shows
    EditorController* editor_ = nullptr;            // owned by the window
    std::unique_ptr<PrintSheetFeature> printSheet_; // goes first: its window uses the others
};

} // namespace portiqa
