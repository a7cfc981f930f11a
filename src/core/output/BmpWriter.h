#pragma once

// Uncompressed 24-bit BMP files: a 14-byte file header, a 40-byte info header, then the rows
// bottom-up as blue, green, red, each row padded with zeros to a multiple of 4 bytes. Captures
// travel inside the program in this form, and ".bmp" output is written with it.

#include <QByteArray>
#include <QImage>

namespace portiqa {

// The BMP file of `image` (alpha blended over white). The resolution fields say 96 dpi.
// A null image gives an empty array.
// `dotsPerInch` > 0 goes into the pixels-per-metre fields; 0 writes 96 dpi.
QByteArray encodeBmp24(const QImage& image, int dotsPerInch = 0);

} // namespace portiqa
