#pragma once

// GIF output: a 256-colour palette chosen by libimagequant (with dithering), written by giflib.
// Transparent parts are blended over white first; the file has no transparency.

#include <QByteArray>
#include <QImage>

namespace portiqa {

// The GIF file of `image`; an empty array for a null image or when a library fails.
QByteArray encodeGif(const QImage& image);

} // namespace portiqa
