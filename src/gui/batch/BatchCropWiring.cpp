#include "gui/batch/BatchCropWiring.h"

#include "core/roster/RosterSheet.h"
#include "core/settings/SettingsFile.h"
#include "core/workspace/OutputSpec.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/batch/BatchSettingsWindow.h"
#include "gui/output/NamePrompt.h"
#include "gui/workspace/WorkspaceController.h"
#include "platform/GlobalHotkeys.h"

#include <QApplication>
#include <QSoundEffect>
#include <QUrl>

namespace portiqa {

BatchCropWiring::BatchCropWiring(const BatchCropParts& parts, QObject* parent)
    : QObject(parent), parts_(parts),
      hotkeys_(std::make_unique<platform::GlobalHotkeys>(parts.window)) {
    MainWindow& window = *parts_.window;
    FeatureLinks& links = *parts_.links;

    BatchCropHooks hooks;
    hooks.cameraWindowOpen = [&links] { return links.cameraWindowOpen(); };
    hooks.closeCameraWindow = [&links] { links.closeCameraWindow(); };
    hooks.setSwitchTicked = [this, &window](bool on) {
        window.setBatchSwitchChecked(on);
        if (on && save_) {
            save_->startRun();
        }
    };
    hooks.setWindowTitle = [&window](const QString& title) { window.setWindowTitle(title); };
    hooks.openSettingsWindow = [this] { openSettingsWindow(); };
    hooks.registerHotkeys = [this] { hotkeys_->registerKeys(); };
    hooks.unregisterHotkeys = [this] {
        hotkeys_->unregisterKeys();
        rule_.reset();
        prefetchNeighbours(); // nothing is kept once the mode is off
    };
    hooks.untickEditorTools = [&links] { links.dropEditorTools(); };
    hooks.rosterWindowOpen = [&links] { return links.rosterWindowOpen(); };
    // The run opens the roster window for batch crop even where the mode is switched on only
    // afterwards (a confirmed run): the window speaks of cropping either way.
    hooks.openRosterWindow = [&links] {
        links.openRosterWindow();
        links.retargetRosterToCropping();
    };
    hooks.closeRosterWindow = [&links] { links.closeRosterWindow(); };
    hooks.retargetRosterWindow = [this] { parts_.roster->retargetToCropping(); };
    run_ = std::make_unique<BatchCropRun>(*parts_.settings, *parts_.settingsFile, *parts_.sizeEdits,
                                          *parts_.task, *parts_.dialogs, std::move(hooks));

    BatchSaveHooks saveHooks;
    saveHooks.pictureShown = [this] {
        parts_.workspace->waitForPicture();
        return parts_.workspace->workspace().pictureLoaded();
    };
    saveHooks.captureFramedImage = [this] { return parts_.workspace->captureFramedImage(); };
    saveHooks.sizeLimitKb = [this] { return parts_.outputSpec->sizeLimitKb; };
    saveHooks.outputOptions = [&links] { return links.outputOptions(); };
    saveHooks.statusHint = [&window](const QString& text) { window.setStatusHint(text); };
    saveHooks.outputSizeUsable = [this] { return parts_.outputSpec->usable(); };
    saveHooks.setWaitCursor = [](bool on) {
        if (on) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    saveHooks.playCropSound = [this] { playCropSound(); };
    saveHooks.askName = [this](const NamePromptTarget& target) { askName(target); };
    saveHooks.openRosterWindow = [&links] { links.openRosterWindow(); };
    saveHooks.openSettingsWindow = [this] { openSettingsWindowModeless(); };
    saveHooks.settingsFolder = parts_.settingsFolder;
    save_ = std::make_unique<BatchCropSave>(*parts_.dialogs, *parts_.encoder, *parts_.settings,
                                            *parts_.task, *parts_.roster, std::move(saveHooks));

    links.batchCropMode = [this] { return run_->mode(); };
    links.batchPicturePath = [this] {
        return run_->mode() ? parts_.task->currentPath() : QString();
    };
    // An opened or dropped file becomes the source while the mode is on.
    parts_.workspace->sources().setBatchCropMode([this] { return run_->mode(); });
    parts_.workspace->loader().setDropPictureOnFailure([this] { return run_->mode(); });
    links.leaveBatchCropMode = [this] {
        if (run_->mode()) {
            run_->switchOff();
        }
    };
    links.releaseBatchHotkeys = [this] {
        hotkeys_->unregisterKeys();
        rule_.reset();
    };
    links.restoreBatchHotkeys = [this] {
        if (run_->mode()) {
            hotkeys_->registerKeys();
        }
    };

    parts_.workspace->loader().setPrefetcher(&prefetcher_);
    parts_.task->setShownHook([this] { prefetchNeighbours(); });

    connect(&window, &MainWindow::batchSwitchPressed, this, [this] { run_->switchPressed(); });
    connect(&window, &MainWindow::batchSettingsRequested, this,
            [this] { run_->settingsRequested(); });
    connect(hotkeys_.get(), &platform::GlobalHotkeys::hotkeyPressed, this,
            &BatchCropWiring::hotkeyPressed);
    connect(hotkeys_.get(), &platform::GlobalHotkeys::notice, &window,
            [&window](const QString& text) { window.setStatusHint(text); });
    window.hintSources().hotkeysRegistered = [this] { return hotkeys_->registered(); };
    window.lifecycleSteps().unregisterHotkeysIfRegistered = [this] { hotkeys_->unregisterKeys(); };
}

BatchCropWiring::~BatchCropWiring() {
    parts_.workspace->loader().setPrefetcher(nullptr);
    parts_.task->setShownHook({});
}

void BatchCropWiring::prefetchNeighbours() {
    // Only while the run shows task pictures.
    const bool on = run_->mode();
    // With automatic face framing on, the neighbours' faces are found on the read-ahead's
    // worker too and handed over just before the picture is shown.
    FeatureLinks& links = *parts_.links;
    if (on && links.autoFrameOn()) {
        // And with a background colour set, the framed picture's background too.
        prefetcher_.setPreparation([findFaces = links.findFaces, handOver = links.prefetchedFaces,
                                    background = links.backgroundAhead()](
                                       const PicturePyramidPtr& picture) -> std::function<void()> {
            DetectedFaces faces = findFaces(*picture, picture->size());
            std::function<void()> replaced = background ? background(picture, faces) : nullptr;
            return [handOver, picture, faces, replaced] {
                handOver(picture, faces);
                if (replaced) {
                    replaced();
                }
            };
        });
    } else {
        prefetcher_.setPreparation({});
    }
    prefetcher_.prefetch(on ? parts_.task->neighbourPaths() : QStringList(),
                         parts_.workspace->workspace().areaSize(),
                         on ? parts_.task->currentPath() : QString());
}

void BatchCropWiring::hotkeyPressed(char letter) {
    HotkeyDirection direction;
    // A step may show a message ("当前已是末位图片"); keys that arrive while it is open must
    // not stack further steps and boxes on top of it.
    if (!hotkeyDirection(letter, &direction) || !run_->mode() || stepping_) {
        return;
    }
    // A step whose picture is up (or came to nothing) lets the same key act again.
    if (rule_.waitingForPicture() && !parts_.workspace->firstViewPending()) {
        rule_.pictureSettled();
    }
    if (!rule_.keyPressed(direction)) {
        return;
    }
    stepping_ = true;
    run_->navigate(direction == HotkeyDirection::Next ? TaskStep::Next : TaskStep::Previous);
    stepping_ = false;
    if (!parts_.workspace->firstViewPending()) {
        rule_.pictureSettled();
    }
}

void BatchCropWiring::openSettingsWindow() {
    if (settingsOpen_) {
        return; // one at a time: the roster check may ask for it from inside a save
    }
    settingsOpen_ = true;
    BatchSettingsWindow settings(*run_, *parts_.dialogs, parts_.window);
    if (settingsHook_) {
        settingsHook_(settings);
    }
    settings.exec();
    settingsOpen_ = false;
}

void BatchCropWiring::openSettingsWindowModeless() {
    if (settingsOpen_) {
        if (modelessSettings_) {
            modelessSettings_->raise();
            modelessSettings_->activateWindow();
        }
        return;
    }
    settingsOpen_ = true;
    auto* settings = new BatchSettingsWindow(*run_, *parts_.dialogs, parts_.window);
    settings->setAttribute(Qt::WA_DeleteOnClose);
    settings->setWindowModality(Qt::NonModal);
    modelessSettings_ = settings;
    connect(settings, &QDialog::finished, this, [this] { settingsOpen_ = false; });
    if (settingsHook_) {
        settingsHook_(*settings);
    }
    settings->show();
}

void BatchCropWiring::askName(const NamePromptTarget& target) {
    NamePromptHotkeys keys;
    keys.registered = [this] { return hotkeys_->registered(); };
    keys.registerAll = [this] { hotkeys_->registerKeys(); };
    keys.unregisterAll = [this] {
        hotkeys_->unregisterKeys();
        rule_.reset();
    };
    NamePrompt prompt(target, *parts_.dialogs, run_->mode(), parts_.links->quickShootMode(),
                      std::move(keys), parts_.window);
    if (promptHook_) {
        promptHook_(prompt);
    }
    prompt.exec();
}

void BatchCropWiring::playCropSound() {
    if (sound_ == nullptr) {
        sound_ = new QSoundEffect(this);
        sound_->setSource(QUrl(QStringLiteral("qrc:/sounds/crop.wav")));
    }
    sound_->play(); // returns at once; no audio device simply means no sound
}

} // namespace portiqa
