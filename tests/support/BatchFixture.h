#pragma once

// A batch crop run without a window: real settings and task files in a temporary folder,
// scripted dialogs, plain size edits and hooks that record what the run asked for.

#include "core/batch/BatchCropRun.h"
#include "core/batch/BatchTaskFile.h"
#include "core/workspace/OutputSizeEdits.h"
#include "core/settings/SettingsFile.h"
#include "support/PlainSizeEdits.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

namespace portiqa::test {

struct RecordingTaskView final : TaskPictureView {
    QStringList loaded;
    QString title;
    void loadPictureFile(const QString& path) override { loaded.append(path); }
    void clearPicturePanels() override {}
    void setWindowTitle(const QString& t) override { title = t; }
};

// Records the run's calls in order ("settings", "hotkeys on", "hotkeys off", "tick", ...).
struct BatchRunFixture {
    QTemporaryDir root;
    ScriptedDialogs dialogs;
    PlainSizeEdits edits;
    RecordingTaskView view;
    BatchCropSettings settings;
    PictureSourceRecord source;
    QString settingsFolder = root.filePath(QStringLiteral("settings"));
    SettingsFile file{settingsFolder, dialogs};
    BatchTaskFile task{settingsFolder, settings, source, dialogs, view};
    QStringList calls;
    bool ticked = false;
    bool hotkeys = false;
    bool cameraOpen = false;
    bool rosterOpen = false;
    QString title;
    // What the settings window does when the run opens it (nothing: closed unconfirmed).
    std::function<void(BatchCropRun&)> settingsWindow;
    BatchCropRun run{settings, file, edits, task, dialogs, hooks()};

    BatchRunFixture() { QDir(root.path()).mkpath(QStringLiteral("settings")); }

    QString folder(const QString& name) {
        QDir(root.path()).mkpath(name);
        return root.filePath(name);
    }

    BatchCropHooks hooks() {
        BatchCropHooks h;
        h.cameraWindowOpen = [this] { return cameraOpen; };
        h.closeCameraWindow = [this] {
            cameraOpen = false;
            calls << QStringLiteral("camera closed");
        };
        h.setSwitchTicked = [this](bool on) { ticked = on; };
        h.setWindowTitle = [this](const QString& t) { title = t; };
        h.openSettingsWindow = [this] {
            calls << QStringLiteral("settings");
            run.settingsWindowOpened();
            if (settingsWindow) {
                settingsWindow(run);
            }
            run.settingsWindowClosed();
        };
        h.registerHotkeys = [this] {
            hotkeys = true;
            calls << QStringLiteral("hotkeys on");
        };
        h.unregisterHotkeys = [this] {
            hotkeys = false;
            calls << QStringLiteral("hotkeys off");
        };
        h.rosterWindowOpen = [this] { return rosterOpen; };
        h.openRosterWindow = [this] {
            rosterOpen = true;
            calls << QStringLiteral("roster opened");
        };
        h.closeRosterWindow = [this] {
            rosterOpen = false;
            calls << QStringLiteral("roster closed");
        };
        h.retargetRosterWindow = [this] { calls << QStringLiteral("roster retargeted"); };
        return h;
    }
};

} // namespace portiqa::test
