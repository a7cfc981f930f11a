#pragma once

// The save command while batch crop mode is on: no dialog; the framed pixels go into the
// batch's save folder under the name its naming mode makes, in the batch's format; the task
// entry is marked cropped, and with naming by roster cell the roster moves on a row.
//
// Nothing is half done: a name that cannot be made (no source name, a prefix or cell text
// that cannot be a file name) is told and nothing is written; a failed encode or write is
// told, nothing is left behind and the task entry stays as it was.
//
// GUI thread only.

#include "core/naming/OutputNames.h"
#include "core/naming/PromptedNameSaver.h"
#include "core/output/SaveCommand.h"
#include "core/settings/BatchSettings.h"

#include <QImage>

#include <functional>

namespace portiqa {

class BatchTaskFile;
class Dialogs;
class OutputEncoder;
class RosterSheet;

struct BatchSaveHooks {
    // Whether a picture is on show once a load in progress has ended: a step onto a file
    // that could not be shown leaves none, and nothing may be saved under its name.
    std::function<bool()> pictureShown = [] { return true; };
    // The framed pixels, exactly output width x height (waits for a load in progress).
    std::function<QImage()> captureFramedImage;
    std::function<double()> sizeLimitKb = [] { return 500.0; };
    std::function<OutputOptions()> outputOptions = [] { return OutputOptions(); };
    // The status bar's hint, for what a run tells without stopping.
    std::function<void(const QString&)> statusHint = [](const QString&) {};
    std::function<bool()> outputSizeUsable = [] { return true; };
    std::function<void(bool)> setWaitCursor = [](bool) {};
    // Starts the crop sound and returns at once.
    std::function<void()> playCropSound = [] {};
    // The naming prompt, modally, for the picture waiting in the temporary file.
    std::function<void(const NamePromptTarget&)> askName = [](const NamePromptTarget&) {};
    // Where naming by cell sends the operator when the roster window is closed.
    std::function<void()> openRosterWindow = [] {};
    std::function<void()> openSettingsWindow = [] {};
    QString settingsFolder; // holds the ask-every-time mode's temporary picture
    Clock clock = systemClock;
};

class BatchCropSave {
public:
    BatchCropSave(Dialogs& dialogs, OutputEncoder& encoder, const BatchCropSettings& settings,
                  BatchTaskFile& task, RosterSheet& roster, BatchSaveHooks hooks);

    SaveOutcome save();

    // The path the current picture would be written to, or empty after telling why none can
    // be made. Mode 5 checks the roster first (and may open a window instead).
    QString destination(NamingBehaviour behaviour);

    static QString noSourceNameMessage();
    static QString nothingShownMessage(const QString& fileName);

    // A new run begins: the next file under the minimum size is told in a message again
    // (later ones of the same run only in the status hint).
    void startRun() { belowMinimumTold_ = false; }

private:
    Dialogs& dialogs_;
    OutputEncoder& encoder_;
    const BatchCropSettings& settings_;
    BatchTaskFile& task_;
    RosterSheet& roster_;
    BatchSaveHooks hooks_;
    bool belowMinimumTold_ = false;
};

} // namespace portiqa
