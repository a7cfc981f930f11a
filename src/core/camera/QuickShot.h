#pragma once

// One press of "拍 照" in quick-shoot mode: the frame's part of the live preview, at exactly
// the output size, goes straight to a file in the quick-shoot folder, named by the quick-shoot
// naming mode and encoded in the quick-shoot format (a JPEG within the size limit, or BMP, GIF,
// PNG). The workspace, the preview and the window are left as they were, so the next person
// can step up at once.
//
// Nothing is captured when the folder is missing, the roster checks stop the shot, or the
// name cannot be used; each is told to the operator. A file is written whole or not at all,
// and a failed write is reported.
//
// GUI thread only (the context's seams touch windows).

#include "core/naming/OutputNames.h"
#include "core/naming/PromptedNameSaver.h"
#include "core/output/OutputOptions.h"
#include "core/roster/RosterSheet.h"
#include "core/settings/BatchSettings.h"

#include <QImage>
#include <QString>

#include <functional>

namespace portiqa {

class Dialogs;
class OutputEncoder;

struct QuickShotContext {
    QString settingsFolder; // where the ask-every-time picture waits for its name
    std::function<double()> sizeLimitKb = [] { return 500.0; };
    std::function<OutputOptions()> outputOptions = [] { return OutputOptions(); };
    // False while the typed output size cannot be captured.
    std::function<bool()> outputSizeUsable = [] { return true; };
    // The frame's part of the current preview picture, exactly output width x height.
    std::function<QImage()> captureFrame;
    // The quick-shoot settings window, modally.
    std::function<void()> openSettingsWindow = [] {};
    std::function<void()> openRosterWindow = [] {};
    // Starts the shutter sound; the shot does not wait for it.
    std::function<void()> playShutterSound = [] {};
    std::function<void(bool busy)> setWaitCursor = [](bool) {};
    // The naming prompt, modally, for a picture written to target.temporaryFile.
    std::function<void(const NamePromptTarget& target)> promptForName = [](auto&&) {};
    Clock clock = systemClock;
};

enum class QuickShotOutcome {
    Saved,          // the file is written within the limit
    SavedOverLimit, // a JPEG written at the smallest size there is, and reported
    Prompted,       // written to the temporary file and handed to the naming prompt
    Stopped,        // a check stopped the shot before anything was captured
    Failed,         // capture, encoding or writing failed; reported
};

struct QuickShotResult {
    QuickShotOutcome outcome = QuickShotOutcome::Stopped;
    QString path; // the file written
};

class QuickShot {
public:
    QuickShot(Dialogs& dialogs, OutputEncoder& encoder, RosterSheet& roster,
              QuickShotContext context);

    QuickShotResult shoot(const QuickShootSettings& settings);

    static QString folderNotSetMessage();
    static QString folderMissingMessage();

private:
    // The path to write, or empty after the shot was stopped (and told).
    QString destination(const QuickShootSettings& settings, NamingBehaviour behaviour);

    Dialogs& dialogs_;
    OutputEncoder& encoder_;
    RosterSheet& roster_;
    QuickShotContext context_;
};

} // namespace portiqa
