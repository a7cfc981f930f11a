#pragma once

// Batch crop joined to the program: the status-bar switch, the settings window, the save
// command's batch branch, the hotkeys with their run rule, the crop sound and the feature
// links batch crop owns. The application object makes one and keeps it for its life.

#include "core/batch/BatchCropRun.h"
#include "core/batch/BatchCropSave.h"
#include "core/batch/HotkeyRunRule.h"
#include "core/workspace/PicturePrefetcher.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QSoundEffect;

namespace portiqa {

class Dialogs;
class MainWindow;
class OutputEncoder;
class RosterSheet;
class SettingsFile;
class WorkspaceController;
struct FeatureLinks;
struct OutputSpec;

namespace platform {
class GlobalHotkeys;
}

// What batch crop is joined to; everything must outlive the wiring.
struct BatchCropParts {
    MainWindow* window = nullptr;
    WorkspaceController* workspace = nullptr;
    Dialogs* dialogs = nullptr;
    BatchCropSettings* settings = nullptr;
    SettingsFile* settingsFile = nullptr;
    OutputSizeEdits* sizeEdits = nullptr;
    BatchTaskFile* task = nullptr;
    RosterSheet* roster = nullptr;
    OutputEncoder* encoder = nullptr;
    const OutputSpec* outputSpec = nullptr;
    FeatureLinks* links = nullptr;
    QString settingsFolder;
};

class BatchCropWiring final : public QObject {
    Q_OBJECT
public:
    explicit BatchCropWiring(const BatchCropParts& parts, QObject* parent = nullptr);
    ~BatchCropWiring() override;

    BatchCropRun& run() { return *run_; }
    platform::GlobalHotkeys& hotkeys() { return *hotkeys_; }
    // The next and previous pictures read ahead while the mode shows a task picture.
    PicturePrefetcher& prefetcher() { return prefetcher_; }
    // The save command while the mode is on.
    SaveOutcome save() { return save_->save(); }
    // Runs for every settings window just before it is shown (tests drive it).
    void setSettingsWindowHook(std::function<void(QDialog&)> hook) {
        settingsHook_ = std::move(hook);
    }
    void setNamePromptHook(std::function<void(QDialog&)> hook) { promptHook_ = std::move(hook); }

    // A navigation hotkey arrived ('A', 'S', 'D' or 'F').
    void hotkeyPressed(char letter);

private:
    void openSettingsWindow();
    // The roster check's No: the settings window opens without holding the save that asked,
    // so the operator can look at the roster and the picture while choosing.
    void openSettingsWindowModeless();
    void askName(const NamePromptTarget& target);
    void playCropSound();
    void prefetchNeighbours();

    BatchCropParts parts_;
    std::unique_ptr<platform::GlobalHotkeys> hotkeys_;
    std::unique_ptr<BatchCropRun> run_;
    std::unique_ptr<BatchCropSave> save_;
    HotkeyRunRule rule_;
    PicturePrefetcher prefetcher_;
    QSoundEffect* sound_ = nullptr;
    bool settingsOpen_ = false;
    QPointer<QDialog> modelessSettings_;
    bool stepping_ = false;
    std::function<void(QDialog&)> settingsHook_;
    std::function<void(QDialog&)> promptHook_;
};

} // namespace portiqa
