#include "core/workspace/QuarterTurn.h"

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
    // Walk the source row by row (cache friendly reads) and scatter into columns.
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const int column = clockwise ? h - 1 - y : y;
        for (int x = 0; x < w; ++x) {
            const int row = clockwise ? x : w - 1 - x;
            reinterpret_cast<QRgb*>(result.scanLine(row))[column] = in[x];
        }
    }
    return result;
}

} // namespace portiqa
