#pragma once

// One picture from its file to the bytes of its output file, without a window: the window's
// decoder, its pyramid and workspace, its face framing or its fitted, centred view, its capture
// of the framed pixels and its encoder. So a picture cropped here is the picture the window
// saves with the same framing, byte for byte.
//
// One cropper per worker thread: it owns its codec, and its face detector (when framing by
// face) is its own, so workers never wait on each other's search. Nothing here writes a file.

#include "core/crop/CropSettings.h"
#include "core/image/PictureDecoder.h"
#include "core/output/ImageCodec.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

namespace portiqa {

class FaceDetector;

enum class CropStatus {
    Written, // the output file holds the picture
    Skipped, // left out on purpose (no face, with --no-face skip)
    Failed,  // could not be read, encoded or written
};

struct CroppedPicture {
    CropStatus status = CropStatus::Failed;
    QString reason;   // for Skipped and Failed: why, in a sentence for the report
    QByteArray bytes; // the output file's bytes when there is one
    int quality = -1; // JPEG quality chosen; -1 for other formats
    bool faceFound = false;
    bool hairCut = false;      // face framing: the top of the hair is outside the frame
    bool band = false;         // face framing: the frame passes the picture's edge (white there)
    QString backgroundRefusal; // with a background colour: why it was left as it is
    bool overLimit = false;    // JPEG: not even the lowest quality fits the limit
    bool belowMinimum = false; // JPEG: even the best quality stays under the minimum
};

class PictureCropper {
public:
    // `detector` may be null when framing by centre without a background colour; otherwise it
    // must outlive the cropper
    // and must not be shared with another thread's cropper.
    PictureCropper(const CropSettings& settings, const FaceDetector* detector);
    ~PictureCropper();

    // The framed pixels of the picture in `path`, exactly the output size. Null with
    // `result.status` and `result.reason` filled when there is nothing to encode.
    QImage frame(const QString& path, CroppedPicture& result);

    // frame() and then the encoding for the settings' file type.
    CroppedPicture crop(const QString& path);

    // The reasons a picture is left out or fails, as the report gives them.
    static QString noFaceReason();

private:
    CropSettings settings_;
    const FaceDetector* detector_;
    PictureDecoder decoder_;
    ImageCodec codec_;
};

} // namespace portiqa
