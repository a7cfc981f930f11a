#pragma once

#include "core/image/DecodedPicture.h"
#include "core/image/DecodeLimits.h"

#include <QByteArray>
#include <QSize>

#include <atomic>

namespace portiqa {

// JPEG through libjpeg-turbo: baseline, progressive, grayscale, CMYK and YCCK (Adobe's
// inverted convention included), EXIF orientation applied. Given a preview area it decodes at
// 1/2, 1/4 or 1/8 in the DCT domain: the smallest scale that still covers the picture's size
// when fitted into that area.
// Results carry an error code but no message; PictureDecoder words the messages.
class JpegDecoder {
public:
    // `previewArea` is in upright pixels; an empty size asks for the full picture.
    // `cancel`, when given and set, stops the decode between rows.
    static DecodedPicture decode(const QByteArray& bytes, const DecodeLimits& limits,
                                 QSize previewArea, const std::atomic<bool>* cancel);

    // The scale denominator (8, 4, 2 or 1) giving the smallest output that still covers
    // `minimum` in both directions; `stored` and `minimum` in the same orientation.
    static int scaleDenominator(QSize stored, QSize minimum);
};

} // namespace portiqa
