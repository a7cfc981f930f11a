#pragma once

#include <QtGlobal>

namespace portiqa {

// How big a picture the program agrees to decode. The check runs on the dimensions in the
// file's header, before any pixel memory is taken, so a hostile or absurd file costs nothing.
struct DecodeLimits {
    // Pixels of the whole picture: 200 megapixels are 800 MB as 32-bit pixels.
    qint64 maxPixels = 200'000'000;
    // Longest accepted side; wider pictures break the zoom and scroll arithmetic.
    int maxSide = 65535;
    // Largest file read into memory for decoding.
    qint64 maxFileBytes = qint64(1) << 30;

    bool accepts(qint64 width, qint64 height) const {
        return width > 0 && height > 0 && width <= maxSide && height <= maxSide &&
               width * height <= maxPixels;
    }
};

} // namespace portiqa
