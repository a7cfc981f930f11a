#include "core/workspace/PicturePyramid.h"

#include <algorithm>
#include <new>

namespace portiqa {

namespace {

// One halving: each output pixel is the rounded mean of the (up to) 2 x 2 pixels under it.
QImage halve(const QImage& source) {
    const int width = (source.width() + 1) / 2;
    const int height = (source.height() + 1) / 2;
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull()) {
        return result;
    }
    for (int y = 0; y < height; ++y) {
        const int y0 = 2 * y;
        const int y1 = std::min(y0 + 1, source.height() - 1);
        const auto* row0 = reinterpret_cast<const QRgb*>(source.constScanLine(y0));
        const auto* row1 = reinterpret_cast<const QRgb*>(source.constScanLine(y1));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        const unsigned rows = y1 == y0 ? 1 : 2;
        for (int x = 0; x < width; ++x) {
            const int x0 = 2 * x;
            const int x1 = std::min(x0 + 1, source.width() - 1);
            const unsigned count = rows * (x1 == x0 ? 1 : 2);
            unsigned r = 0;
            unsigned g = 0;
            unsigned b = 0;
            auto add = [&](QRgb p) {
                r += qRed(p);
                g += qGreen(p);
                b += qBlue(p);
            };
            add(row0[x0]);
            if (x1 != x0) {
                add(row0[x1]);
            }
            if (y1 != y0) {
                add(row1[x0]);
                if (x1 != x0) {
                    add(row1[x1]);
                }
            }
            const unsigned half = count / 2;
            out[x] =
                qRgb(static_cast<int>((r + half) / count), static_cast<int>((g + half) / count),
                     static_cast<int>((b + half) / count));
        }
    }
    return result;
}

} // namespace

PicturePyramid::PicturePyramid(QImage base) {
    levels_.push_back(std::move(base));
}

QImage PicturePyramid::opaqueOverWhite(const QImage& picture) {
    if (picture.isNull()) {
        return {};
    }
    if (!picture.hasAlphaChannel()) {
        return picture.convertToFormat(QImage::Format_RGB32);
    }
    // Blend each channel as alpha/255 x channel + (1 - alpha/255) x 255.
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QImage result(argb.size(), QImage::Format_RGB32);
    if (argb.isNull() || result.isNull()) {
        return {};
    }
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(in[x]);
            auto blend = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
            out[x] = qRgb(blend(qRed(in[x])), blend(qGreen(in[x])), blend(qBlue(in[x])));
        }
    }
    return result;
}

bool PicturePyramid::buildLevels() {
    while (levels_.back().width() > 1 || levels_.back().height() > 1) {
        QImage next = halve(levels_.back());
        if (next.isNull()) {
            return false;
        }
        levels_.push_back(std::move(next));
    }
    return true;
}

std::shared_ptr<const PicturePyramid> PicturePyramid::build(const QImage& picture) {
    QImage base = opaqueOverWhite(picture);
    if (base.isNull()) {
        return nullptr;
    }
    try {
        std::shared_ptr<PicturePyramid> pyramid(new PicturePyramid(std::move(base)));
        if (!pyramid->buildLevels()) {
            return nullptr;
        }
        return pyramid;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace portiqa
