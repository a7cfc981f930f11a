#pragma once

// PNG output through libpng: 8-bit RGB, or RGBA when the picture has an alpha channel.

#include <QByteArray>
#include <QImage>

namespace portiqa {

// The PNG file of `image`; an empty array for a null image or when libpng fails.
QByteArray encodePng(const QImage& image);

} // namespace portiqa
