#include "core/workspace/QuarterTurn.h"

#include <algorithm>

namespace portiqa {

QImage QuarterTurn::turned(const QImage& picture, bool clockwise) {
    if (picture.isNull()) {
        return {};
    }
    const QImage source = picture.format() == QImage::Format_RGB32
                              ? picture
                              : picture.convertToFormat(QImage::Format_RGB32);
    const int w = source.width();
    const int h = source.height();
    QImage result(h, w, QImage::Format_RGB32);
    if (source.isNull() || result.isNull()) {
        return {};
    }
    // Tile by tile, so the rows read and the columns written both stay in cache.
    constexpr int Tile = 64;
    const auto* in = reinterpret_cast<const QRgb*>(source.constBits());
    auto* out = reinterpret_cast<QRgb*>(result.bits());
    const qsizetype inStride = source.bytesPerLine() / 4;
    const qsizetype outStride = result.bytesPerLine() / 4;
    for (int ty = 0; ty < h; ty += Tile) {
        for (int tx = 0; tx < w; tx += Tile) {
            for (int y = ty; y < std::min(ty + Tile, h); ++y) {
                const QRgb* line = in + y * inStride;
                const int column = clockwise ? h - 1 - y : y;
                for (int x = tx; x < std::min(tx + Tile, w); ++x) {
                    const int row = clockwise ? x : w - 1 - x;
                    out[row * outStride + column] = line[x];
                }
            }
        }
    }
    return result;
}

} // namespace portiqa
