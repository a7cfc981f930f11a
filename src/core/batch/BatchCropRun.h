#pragma once

// Batch crop mode: the switch in the status bar, the life of the settings window, the start
// and the resumption of a run, and the navigation keys. This object owns the mode flag and
// whether the settings window was confirmed; the settings, the task and the hotkeys belong
// to their own owners, reached through the references and hooks below.
//
// The settings window itself is a thin view: it calls settingsWindowOpened() when it opens,
// forwards its choices, hands its controls to confirm() and calls settingsWindowClosed()
// however it closes.
//
// GUI thread only.

#include "core/settings/BatchSettings.h"
#include "core/batch/BatchSettingsForm.h"
#include "core/batch/BatchTaskFile.h"

#include <functional>

namespace portiqa {

class Dialogs;
class OutputSizeEdits;
class SettingsFile;

// What the run needs of the rest of the program. Every entry has a harmless default, so a
// feature that is not part of the program yet simply does nothing.
struct BatchCropHooks {
    std::function<bool()> cameraWindowOpen = [] { return false; };
    // Closes the camera window, switching quick-shoot off and closing its settings window.
    std::function<void()> closeCameraWindow = [] {};
    std::function<void(bool)> setSwitchTicked = [](bool) {};
    std::function<void(const QString&)> setWindowTitle = [](const QString&) {};
    // Opens the settings window modally; returns when it has closed.
    std::function<void()> openSettingsWindow = [] {};
    // The batch hotkeys; both do nothing when already in that state.
    std::function<void()> registerHotkeys = [] {};
    std::function<void()> unregisterHotkeys = [] {};
    // Leaves the editor's brush, text and eyedropper tools.
    std::function<void()> untickEditorTools = [] {};
    std::function<bool()> rosterWindowOpen = [] { return false; };
    std::function<void()> openRosterWindow = [] {};
    std::function<void()> closeRosterWindow = [] {};
    // The open roster window takes batch crop's title, captions and status.
    std::function<void()> retargetRosterWindow = [] {};
};

class BatchCropRun {
public:
    BatchCropRun(BatchCropSettings& settings, SettingsFile& settingsFile, OutputSizeEdits& edits,
                 BatchTaskFile& task, Dialogs& dialogs, BatchCropHooks hooks);

    bool mode() const { return mode_; }
    bool settingsConfirmed() const { return confirmed_; }

    // Left press on the switch: on when off, off when on.
    void switchPressed();
    // Right press on the switch: the settings window, modally, in either state.
    void settingsRequested() { hooks_.openSettingsWindow(); }
    void switchOff();

    // --- the settings window ---
    // Releases the hotkeys (typing must not step the run) and returns what the controls show.
    BatchSettingsForm settingsWindowOpened();
    void formatChosen(int index);
    // Returns whether the naming box becomes editable (the custom-prefix item).
    bool namingChosen(int index);
    void cropSoundClicked(bool ticked);
    // The confirm button: the checks in their order, the settings saved, a fresh task and
    // the run started. A refusal was shown; the window stays open and acts on `focus`.
    ConfirmCheck confirm(const BatchSettingsForm& form);
    // However the window closed.
    void settingsWindowClosed();

    // --- the navigation keys ---
    void navigate(TaskStep step);

private:
    void switchOn();
    bool folderUsable(const QString& folder);

    BatchCropSettings& settings_;
    SettingsFile& settingsFile_;
    OutputSizeEdits& edits_;
    BatchTaskFile& task_;
    Dialogs& dialogs_;
    BatchCropHooks hooks_;
    bool mode_ = false;
    bool ticked_ = false;
    bool confirmed_ = false;
};

} // namespace portiqa
