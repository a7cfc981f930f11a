#pragma once

// PNG output through libpng: 8-bit RGB, or RGBA when the picture has an alpha channel.

#include <QByteArray>
#include <QImage>

namespace portiqa {

// The PNG file of `image`; an empty array for a null image or when libpng fails.
// `dotsPerInch` > 0 adds a pHYs chunk (pixels per metre); 0 writes none.
QByteArray encodePng(const QImage& image, int dotsPerInch = 0);

} // namespace portiqa
