#pragma once

#include "core/image/DecodedPicture.h"
#include "core/image/DecodeLimits.h"

#include <QByteArray>

namespace portiqa {

// PNG through libpng's simplified read API: any PNG (palette, grey, 16-bit, interlaced,
// gamma-tagged) arrives as 8-bit sRGB BGRA and is blended over white here. A damaged chunk
// (a CRC error in the pixel data included) fails the decode. No message; see PictureDecoder.
class PngDecoder {
public:
    static DecodedPicture decode(const QByteArray& bytes, const DecodeLimits& limits);
};

} // namespace portiqa
