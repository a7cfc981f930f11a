#pragma once

// Small synthetic pictures for the workspace tests: every pixel differs from its neighbours,
// so an off-by-one in placement or resampling shows up as a pixel mismatch.

#include <QImage>

namespace portiqa::test {

inline QImage patternPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] =
                qRgb((x * 7 + y * 3) % 256, (x * 13 + y * 29) % 200, (x * 5 + y * 11 + 40) % 230);
        }
    }
    return image;
}

inline bool isWhite(const QImage& image, int x, int y) {
    return (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
}

} // namespace portiqa::test
