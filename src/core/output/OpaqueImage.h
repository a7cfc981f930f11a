#pragma once

// Formats without an alpha channel (BMP, JPEG, GIF) get the picture as it looks on a white
// page, which is also how the workspace shows a transparent PNG.

#include <QImage>

namespace portiqa {

// The image as 8-bit RGB (QImage::Format_RGB888), transparent parts blended over white.
// A null image gives a null image.
QImage opaqueRgb888(const QImage& image);

} // namespace portiqa
