#pragma once

#include <QImage>

namespace portiqa {

// Transparent pictures are shown and saved over white, the colour of the picture area.
class AlphaBlend {
public:
    // Any image to an opaque Format_RGB32 one, its transparent parts blended over white.
    // Works in place when handed a sole, non-premultiplied ARGB32 image.
    static QImage overWhite(QImage image);
};

} // namespace portiqa
