#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace portiqa {

enum class DecodeError {
    None,
    Unreadable,    // the file could not be opened or read
    Empty,         // zero bytes
    UnknownFormat, // not a JPEG, PNG, GIF or BMP by its content
    Corrupt,       // damaged or incomplete data (bad CRC, truncated JPEG, ...)
    Unsupported,   // a valid file using a variant we cannot decode (e.g. 12-bit JPEG)
    TooLarge,      // over the decode limits; nothing was allocated
    OutOfMemory,   // within the limits, but the memory was not there
    Cancelled,     // a newer request made this one pointless; never shown to the operator
};

// The outcome of one decode. On success `image` is Format_RGB32, fully opaque (transparency
// already blended over white) and upright (EXIF orientation applied). On failure `image` is
// null and `message` says why, in a sentence fit for a message box; no partial picture is
// ever handed out as a success.
struct DecodedPicture {
    QImage image;
    // Upright size of the whole picture; larger than image.size() for a scaled preview.
    QSize fullSize;
    DecodeError error = DecodeError::None;
    QString message;

    bool ok() const { return error == DecodeError::None && !image.isNull(); }
    bool isPreview() const { return ok() && image.size() != fullSize; }

    static DecodedPicture failure(DecodeError error, const QString& message) {
        DecodedPicture result;
        result.error = error;
        result.message = message;
        return result;
    }
};

} // namespace portiqa
