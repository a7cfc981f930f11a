#include "core/image/AlphaBlend.h"

namespace portiqa {

namespace {

inline int blendChannel(int channel, int alpha) {
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

} // namespace

QImage AlphaBlend::overWhite(QImage image) {
    if (image.isNull()) {
        return image;
    }
    if (!image.hasAlphaChannel()) {
        return image.format() == QImage::Format_RGB32 ? image
                                                      : image.convertToFormat(QImage::Format_RGB32);
    }
    if (image.format() != QImage::Format_ARGB32) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            return image;
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            const int a = qAlpha(p);
            if (a != 255) {
                row[x] = qRgb(blendChannel(qRed(p), a), blendChannel(qGreen(p), a),
                              blendChannel(qBlue(p), a));
            }
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

} // namespace portiqa
