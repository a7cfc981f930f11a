#pragma once

// Bringing pictures into the workspace (open dialog, file drop, clipboard paste) and copying
// the framed block out. Clipboard and drop events themselves belong to the GUI glue; this
// object makes the decisions and shows the messages, so it can be tested with a scripted
// Dialogs.
//
// A picture that cannot be read, and a paste with no picture on the clipboard, are told to the
// operator and leave the current picture and view exactly as they were.

#include "core/workspace/PictureSource.h"
#include "core/dialogs/Dialogs.h"
#include "core/image/DecodedPicture.h"
#include "core/image/PictureDecoder.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace portiqa {

class PhotoWorkspace;

class PictureSources {
public:
    using Decoder = std::function<DecodedPicture(const QString& path)>;
    using FileLoader = std::function<void(const QString& path)>;
    using PictureShower = std::function<bool(const QImage& picture)>;

    PictureSources(PhotoWorkspace& workspace, Dialogs& dialogs);

    // The file reader used in place; defaults to PictureDecoder::decodeFile().
    void setDecoder(Decoder decoder) { decoder_ = std::move(decoder); }
    // When set, files are handed to it instead (an asynchronous loader that reports back to
    // the workspace itself); loadPictureFile() then only starts the load.
    void setFileLoader(FileLoader loader) { fileLoader_ = std::move(loader); }
    // When set, a pasted picture is shown through it (the owner of pending loads) instead of
    // straight on the workspace; false from it means the picture could not be shown.
    void setPictureShower(PictureShower shower) { pictureShower_ = std::move(shower); }
    // While batch crop mode is on, an opened or dropped file is recorded as the source.
    void setBatchCropMode(std::function<bool()> isOn) { batchCropMode_ = std::move(isOn); }

    // Asks for a file and loads it. False when cancelled or the file could not be read.
    // A failed read is told to the operator; the current picture stays.
    bool openPicture();
    bool loadPictureFile(const QString& path);
    // The dropped paths joined by CR LF, as the drop target reports them.
    bool dropFiles(const QString& droppedText);
    // A drop from a file manager: local files joined into that text.
    bool dropUrls(const QList<QUrl>& urls);
    // Ctrl+V with the clipboard's image (null when the clipboard holds none); a missing or
    // unusable image is told to the operator and the current picture stays.
    bool pastePicture(const QImage& clipboardImage);
    // Whether the typed output size can be captured; the copy refuses like the save while not.
    void setOutputSizeUsable(std::function<bool()> usable) {
        outputSizeUsable_ = std::move(usable);
    }
    // Ctrl+C: the framed block for the clipboard, or a null image when there is nothing (no
    // picture: silently; an unusable output size: after telling the operator, as the save).
    QImage copyFramedRegion() const;

    // The path a drop would load, or nothing after telling the operator why not.
    static std::optional<QString> acceptedDrop(const QString& droppedText, Dialogs& dialogs);
    static QString dropText(const QList<QUrl>& urls);

    // Where the current picture came from; the one record the batch run reads.
    PictureSourceRecord& sourceRecord() { return record_; }
    const PictureSourceRecord& sourceRecord() const { return record_; }
    int sourceKind() const { return static_cast<int>(record_.current().kind); }
    QString sourcePath() const { return record_.current().path; }

private:
    void recordSource(const QString& path);

    PhotoWorkspace& workspace_;
    Dialogs& dialogs_;
    PictureDecoder pictureDecoder_;
    Decoder decoder_;
    FileLoader fileLoader_;
    PictureShower pictureShower_;
    std::function<bool()> batchCropMode_;
    std::function<bool()> outputSizeUsable_;
    PictureSourceRecord record_;
};

} // namespace portiqa
