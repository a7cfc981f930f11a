#pragma once

// The save-capture command (截图 / 保存) in normal mode: ask for a file, capture the framed
// pixels at exactly the output size, encode them by the file's extension (a JPEG within the
// size limit, or BMP, GIF, PNG) and write the file whole. Batch crop mode saves through its
// own path, handed in as a seam.

#include "core/output/OutputOptions.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

namespace portiqa {

class Dialogs;
class OutputEncoder;

struct SaveContext {
    std::function<void()> commitPendingText = [] {};
    std::function<bool()> pictureLoaded = [] { return false; };
    // False while the typed output size cannot be captured.
    std::function<bool()> outputSizeUsable = [] { return true; };
    // The framed pixels, exactly output width x height.
    std::function<QImage()> captureFramedImage;
    std::function<double()> sizeLimitKb = [] { return 500.0; };
    // The resolution, minimum size and best-picture choice of the output options.
    std::function<OutputOptions()> outputOptions = [] { return OutputOptions(); };
    std::function<void()> focusPictureArea = [] {};
    std::function<bool()> batchCropMode = [] { return false; };
    std::function<void()> saveInBatchCropMode = [] {};
    // Where the save dialog starts; empty: dialogStartFolder() at the time of asking.
    QString startFolder;
};

enum class SaveOutcome { Saved, SavedOverLimit, Cancelled, Refused, WriteFailed };

class SaveCommand {
public:
    SaveCommand(Dialogs& dialogs, OutputEncoder& encoder, SaveContext context);

    SaveOutcome savePicture();

    // The texts the command shows.
    static QString noPictureMessage();
    static QString unsupportedExtensionMessage(const QString& extension);
    static QString writeFailedMessage(const QString& path, const QString& reason);

private:
    SaveOutcome saveNormally();

    Dialogs& dialogs_;
    OutputEncoder& encoder_;
    SaveContext context_;
};

// The lower-case extension of a path with its dot (".jpg"), or empty when the file name has
// no dot.
QString lowerCaseExtension(const QString& path);

} // namespace portiqa
