#include "gui/app/PortiqaApp.h"
#include "gui/app/ProgramFont.h"
#include "gui/background/BackgroundFeature.h"

#include "core/batch/BatchTaskFile.h"
#include "core/output/ImageCodec.h"
#include "core/output/OutputEncoder.h"
#include "core/output/SaveCommand.h"
#include "core/roster/RosterSheet.h"
#include "core/settings/SettingsFile.h"
#include "gui/app/AppCommands.h"
#include "gui/app/MainWindow.h"
#include "gui/app/MainWindowSizeEdits.h"
#include "gui/app/OutputSizeController.h"
#include "gui/app/QtDialogs.h"
#include "gui/app/WorkspaceTaskView.h"
#include "gui/app/WorkspaceWiring.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/camera/CameraFeature.h"
#include "gui/editor/EditorWiring.h"
#include "gui/face/AutoFrameFeature.h"
#include "gui/output/OutputOptionsFeature.h"
#include "gui/print/PrintSheetFeature.h"
#include "gui/roster/RosterWindow.h"
#include "gui/roster/RosterWiring.h"
#include "gui/workspace/WorkspaceController.h"
#include "platform/camera/CameraBackend.h"
#include "platform/DesktopOpener.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTimer>

namespace portiqa {

PortiqaApp::PortiqaApp(const LaunchOptions& options, Dialogs* dialogs,
                       std::unique_ptr<CameraBackend> camera)
    : options_(options), dialogs_(std::make_unique<QtDialogs>()),
      cameraBackend_(std::move(camera)) {
    applyProgramFont();
    Dialogs& chosenDialogs = dialogs != nullptr ? *dialogs : *dialogs_;
    AppServices services;
    services.dialogs = &chosenDialogs;
    services.location = resolveSettingsLocation(
        QCoreApplication::applicationDirPath(), options_.settingsDir,
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/Portiqa"));
    opener_ = std::make_unique<platform::DesktopOpener>();
    services.openUrl = [this](const QUrl& url, const std::function<void()>& failedLater) {
        return opener_->open(url, failedLater);
    };
    window_ = std::make_unique<MainWindow>(std::move(services));
    dialogs_->setParent(window_.get());
    commands_ = std::make_unique<AppCommands>(*window_);
    window_->setCommands(commands_.get());
    workspace_ =
        std::make_unique<WorkspaceController>(chosenDialogs, window_->controls().pictureArea);
    connectWorkspace(*window_, *workspace_);
    commands_->setWorkspace(workspace_.get());
    workspace_->sources().setOutputSizeUsable([this] { return outputSpec_.usable(); });
    editor_ = connectEditor(*window_, *workspace_, *commands_, links_, chosenDialogs);

    OutputSizeHooks sizeHooks;
    sizeHooks.commitPendingText = [this] { links_.commitPendingText(); };
    // The workspace owns the frame; the capture panel follows it.
    sizeHooks.resizeFrame = [this](QSize size) { workspace_->setFrameSize(size); };
    sizeHooks.pictureLoaded = [this] { return workspace_->workspace().pictureLoaded(); };
    sizeHooks.recomposeView = [this] { workspace_->workspace().recomposeView(); };
    sizeEdits_ = std::make_unique<MainWindowSizeEdits>(window_->controls());
    settingsFile_ =
        std::make_unique<SettingsFile>(window_->services().location.settingsFolder, chosenDialogs);
    sizeHooks.sizeLimitChanged = [this](const QString&) {
        settingsFile_->sizeLimitChanged(*sizeEdits_, links_.batchCropMode(), batchCrop_,
                                        links_.quickShootMode(), quickShoot_);
    };
    sizeHooks.sizeTextChanged = [this](const QString& key, const QString&) {
        const auto which = key == QStringLiteral("像素宽") ? SettingsFile::SizeKey::Width
                                                           : SettingsFile::SizeKey::Height;
        settingsFile_->outputDimensionChanged(which, *sizeEdits_, links_.cameraWindowOpen(),
                                              links_.quickShootMode(), quickShoot_);
    };
    sizeHooks.outputSizeChanged = [this](bool width) {
        if (camera_) {
            camera_->outputSideChanged(width);
        }
    };
    outputSizes_ = new OutputSizeController(*window_, outputSpec_, std::move(sizeHooks));
    connectSaveCommand(chosenDialogs);
    taskView_ = std::make_unique<WorkspaceTaskView>(*window_, *workspace_);
    batchTask_ = std::make_unique<BatchTaskFile>(window_->services().location.settingsFolder,
                                                 batchCrop_, workspace_->sources().sourceRecord(),
                                                 chosenDialogs, *taskView_);
    roster_ = std::make_unique<RosterSheet>(chosenDialogs);
    BatchCropParts batchParts{window_.get(),
                              workspace_.get(),
                              &chosenDialogs,
                              &batchCrop_,
                              settingsFile_.get(),
                              sizeEdits_.get(),
                              batchTask_.get(),
                              roster_.get(),
                              encoder_.get(),
                              &outputSpec_,
                              &links_,
                              window_->services().location.settingsFolder};
    batchCropWiring_ = std::make_unique<BatchCropWiring>(batchParts);
    commands_->setLinks(&links_);
    wireCamera(chosenDialogs);
    rosterWindow_ = wireRosterWindow(*this);
    autoFrame_ = std::make_unique<AutoFrameFeature>(*window_, *workspace_, chosenDialogs, links_);
    autoFrame_->followQuickShootFrame(*camera_, links_);
    outputOptions_ =
        std::make_unique<OutputOptionsFeature>(*window_, chosenDialogs, links_, outputSpec_);
    background_ = std::make_unique<BackgroundFeature>(*window_, *workspace_,
                                                      outputOptions_->setting(), links_);
    PrintSheetSources printSources;
    printSources.pictureLoaded = [this] { return workspace_->workspace().pictureLoaded(); };
    printSources.outputSizeUsable = [this] { return outputSpec_.usable(); };
    printSources.framedPicture = [this] { return framedOutputPicture(); };
    printSheet_ = std::make_unique<PrintSheetFeature>(*window_, chosenDialogs, links_,
                                                      std::move(printSources));
    window_->lifecycleSteps().loadSettings = [this] {
        settingsFile_->loadSettings(batchCrop_, quickShoot_);
    };
}

PortiqaApp::~PortiqaApp() {
    if (window_) {
        window_->shutDown();
    }
}

void PortiqaApp::connectSaveCommand(Dialogs& dialogs) {
    codec_ = std::make_unique<ImageCodec>();
    encoder_ = std::make_unique<OutputEncoder>(*codec_);
    SaveContext context;
    context.commitPendingText = [this] { links_.finishTextForSave(); };
    context.pictureLoaded = [this] { return workspace_->workspace().pictureLoaded(); };
    context.outputSizeUsable = [this] { return outputSpec_.usable(); };
    context.captureFramedImage = [this] { return framedOutputPicture(); };
    context.sizeLimitKb = [this] { return outputSpec_.sizeLimitKb; };
    context.outputOptions = [this] { return links_.outputOptions(); };
    context.focusPictureArea = [this] { window_->controls().pictureArea->setFocus(); };
    context.batchCropMode = [this] { return links_.batchCropMode(); };
    context.saveInBatchCropMode = [this] { batchCropWiring_->save(); };
    save_ = std::make_unique<SaveCommand>(dialogs, *encoder_, std::move(context));
    commands_->setSaveCommand(save_.get());
}

QImage PortiqaApp::framedOutputPicture() {
    workspace_->waitForPicture(); // a save always works on the full picture
    return workspace_->captureFramedImage();
}

void PortiqaApp::wireCamera(Dialogs& dialogs) {
    CameraFeatureDeps deps;
    deps.mainWindow = window_.get();
    deps.dialogs = &dialogs;
    deps.links = &links_;
    deps.workspace = workspace_.get();
    deps.settings = &quickShoot_;
    deps.settingsFile = settingsFile_.get();
    deps.sizeEdits = sizeEdits_.get();
    deps.output = &outputSpec_;
    deps.roster = roster_.get();
    deps.encoder = encoder_.get();
    deps.settingsFolder = window_->services().location.settingsFolder;
    deps.camera = std::move(cameraBackend_);
    camera_ = std::make_unique<CameraFeature>(std::move(deps));
    window_->lifecycleSteps().disconnectCameraIfOpen = [this] { camera_->shutDown(); };
}

void PortiqaApp::start() {
    window_->startUp();
    background_->tellUnreadColour();
    window_->show();
    if (!options_.picture.isEmpty()) {
        // Opened once the window is up, so a message about a bad file has a window to sit on.
        QTimer::singleShot(0, workspace_.get(), [this] { workspace_->openFile(options_.picture); });
    }
    if (options_.quitAfterShow) {
        QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
    }
}

} // namespace portiqa
