#pragma once

// A JPEG file decoded to its Y, Cb and Cr planes (chroma brought to full size the way the
// decoder does for display), without the turn into RGB and back that comparing through a
// QImage costs. Used to weigh candidate files against the picture they were made from.

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

namespace portiqa {

struct JpegPlanes {
    std::array<std::vector<std::uint8_t>, 3> planes; // Y, Cb, Cr, row by row
    int width = 0;
    int height = 0;
};

// False (and `out` untouched) for a file libjpeg cannot decode or a picture without three
// colour components.
bool decodeJpegPlanes(const QByteArray& file, JpegPlanes& out);

} // namespace portiqa
