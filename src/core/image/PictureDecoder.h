#pragma once

#include "core/image/DecodedPicture.h"
#include "core/image/DecodeLimits.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

namespace portiqa {

enum class PictureFormat { Unknown, Jpeg, Png, Gif, Bmp };

// Turns a picture file (or its bytes, or a clipboard image) into the picture the operator
// should see: Format_RGB32, opaque, upright. The format is told by the content, never by the
// file name. Every failure comes back as a DecodedPicture with a short reason for a message
// box captioned messageCaption(); the caller shows it and keeps its current picture.
//
// Thread-safe: all members are const, so one decoder may serve several worker threads.
class PictureDecoder {
public:
    explicit PictureDecoder(DecodeLimits limits = {});

    const DecodeLimits& limits() const { return limits_; }

    DecodedPicture decodeFile(const QString& path) const;
    DecodedPicture decode(const QByteArray& bytes) const;

    // A fast first view for a picture about to be fitted into `area` (the picture area):
    // where the format can decode at a reduced scale (JPEG: 1/2, 1/4, 1/8) the smallest one
    // still at least the fitted size in both directions (a picture is fitted, never
    // enlarged); the full picture otherwise. result.fullSize is the whole picture's size.
    DecodedPicture decodePreview(const QByteArray& bytes, QSize area) const;

    // The general form the others share. An empty `previewArea` asks for the full picture;
    // `cancel`, when set by another thread, ends the decode early with Cancelled.
    DecodedPicture decode(const QByteArray& bytes, QSize previewArea,
                          const std::atomic<bool>* cancel) const;

    // An image from elsewhere (the clipboard, a camera) under the same rules: the limits,
    // white behind transparency, Format_RGB32.
    DecodedPicture fromImage(const QImage& image) const;

    // Reads a file whole, within limits().maxFileBytes. On failure returns false and fills
    // `failure` with the reason.
    bool readFile(const QString& path, QByteArray& bytes, DecodedPicture& failure) const;

    static PictureFormat formatOf(const QByteArray& bytes);

    // The caption for the failure messages.
    static QString messageCaption();

    // The operator's sentence for a failure; `size` is the picture's size when known.
    QString messageFor(DecodeError error, QSize size = {}) const;

private:
    DecodedPicture decodeWithQt(const QByteArray& bytes, PictureFormat format) const;
    DecodedPicture withMessage(DecodedPicture result) const;

    DecodeLimits limits_;
};

} // namespace portiqa
