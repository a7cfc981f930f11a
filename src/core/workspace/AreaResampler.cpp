#include "core/workspace/AreaResampler.h"

#include "core/workspace/ParallelRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace portiqa {

namespace {

// Taps of one axis: for each output index, the level pixels its footprint covers and their
// normalised weights.
struct AxisTaps {
    std::vector<int> first;  // per output index: first level pixel
    std::vector<int> count;  // per output index: number of taps
    std::vector<int> offset; // per output index: start in weights
    std::vector<float> weights;
};

// Output index i covers picture coordinates [i * source / zoomed, (i + 1) * source / zoomed),
// that is [.. / scale) in the level's own pixels.
AxisTaps axisTaps(int from, int to, int source, int zoomed, int levelSize, int levelScale) {
    AxisTaps taps;
    const int n = to - from;
    taps.first.resize(static_cast<size_t>(n));
    taps.count.resize(static_cast<size_t>(n));
    taps.offset.resize(static_cast<size_t>(n));
    const double step = static_cast<double>(source) / (static_cast<double>(zoomed) * levelScale);
    for (int i = 0; i < n; ++i) {
        const int index = from + i;
        const double start = index * step;
        const double end = std::min((index + 1) * step, static_cast<double>(levelSize));
        const int p0 = std::min(static_cast<int>(std::floor(start)), levelSize - 1);
        const int p1 = std::max(p0, std::min(static_cast<int>(std::ceil(end)) - 1, levelSize - 1));
        const double span = std::max(end - start, 1e-12);
        taps.first[static_cast<size_t>(i)] = p0;
        taps.offset[static_cast<size_t>(i)] = static_cast<int>(taps.weights.size());
        for (int p = p0; p <= p1; ++p) {
            const double overlap =
                std::max(0.0, std::min(end, p + 1.0) - std::max(start, static_cast<double>(p)));
            taps.weights.push_back(static_cast<float>(p0 == p1 ? 1.0 : overlap / span));
        }
        taps.count[static_cast<size_t>(i)] = p1 - p0 + 1;
    }
    return taps;
}

struct Rgb {
    float r = 0;
    float g = 0;
    float b = 0;
};

// One output column's weighed sum of the level pixels from `p` on.
inline Rgb weighedColumns(const QRgb* p, const AxisTaps& columns, size_t column) {
    const float* w = columns.weights.data() + columns.offset[column];
    Rgb sum;
    for (int c = 0; c < columns.count[column]; ++c) {
        sum.r += w[c] * static_cast<float>(qRed(p[c]));
        sum.g += w[c] * static_cast<float>(qGreen(p[c]));
        sum.b += w[c] * static_cast<float>(qBlue(p[c]));
    }
    return sum;
}

inline int toByte(float value) {
    return std::clamp(static_cast<int>(value + 0.5f), 0, 255);
}

} // namespace

int AreaResampler::levelFor(const PicturePyramid& picture, QSize zoomedSize) {
    const double sx = static_cast<double>(picture.size().width()) / zoomedSize.width();
    const double sy = static_cast<double>(picture.size().height()) / zoomedSize.height();
    const double scale = std::min(sx, sy);
    int level = 0;
    while (level + 1 < picture.levelCount() && (1 << (level + 1)) <= scale) {
        ++level;
    }
    return level;
}

void AreaResampler::drawRegion(const PicturePyramid& picture, QSize zoomedSize, QRect region,
                               QImage& target, QPoint at) {
    if (zoomedSize.width() < 1 || zoomedSize.height() < 1 || target.isNull()) {
        return;
    }
    // Clip to the surface, then to the target; target = surface position + shift.
    const QPoint shift = at - region.topLeft();
    const QRect targetRect = region.intersected(QRect(QPoint(0, 0), zoomedSize))
                                 .translated(shift)
                                 .intersected(target.rect());
    if (targetRect.isEmpty()) {
        return;
    }
    const QRect wanted = targetRect.translated(-shift);

    const int levelIndex = levelFor(picture, zoomedSize);
    const QImage& level = picture.level(levelIndex);
    const int scale = 1 << levelIndex;
    const AxisTaps columns = axisTaps(wanted.left(), wanted.right() + 1, picture.size().width(),
                                      zoomedSize.width(), level.width(), scale);
    const AxisTaps rows = axisTaps(wanted.top(), wanted.bottom() + 1, picture.size().height(),
                                   zoomedSize.height(), level.height(), scale);

    // Bands of rows may run on several threads: each writes through the one pointer taken
    // here, never through the shared QImage.
    const int width = wanted.width();
    const qsizetype stride = target.bytesPerLine();
    uchar* const firstPixel =
        target.bits() + targetRect.top() * stride + static_cast<qsizetype>(targetRect.left()) * 4;
    ParallelRows::run(wanted.height(), width, [&](int first, int end) {
        std::vector<float> acc(static_cast<size_t>(width) * 3);
        for (int y = first; y < end; ++y) {
            const auto yi = static_cast<size_t>(y);
            auto* out = reinterpret_cast<QRgb*>(firstPixel + y * stride);
            // Enlarging, most rows and columns take one pixel of the level whole: a row that
            // takes the same level row as the one above is that row again, and a one-tap
            // column is the level's pixel.
            if (rows.count[yi] == 1) {
                if (y > first && rows.count[yi - 1] == 1 && rows.first[yi - 1] == rows.first[yi]) {
                    std::memcpy(out, firstPixel + (y - 1) * stride,
                                static_cast<size_t>(width) * sizeof(QRgb));
                    continue;
                }
                const auto* line =
                    reinterpret_cast<const QRgb*>(level.constScanLine(rows.first[yi]));
                for (int x = 0; x < width; ++x) {
                    const auto xi = static_cast<size_t>(x);
                    const QRgb* p = line + columns.first[xi];
                    if (columns.count[xi] == 1) {
                        out[x] = p[0] | 0xff000000u;
                        continue;
                    }
                    const Rgb sum = weighedColumns(p, columns, xi);
                    out[x] = qRgb(toByte(sum.r), toByte(sum.g), toByte(sum.b));
                }
                continue;
            }
            std::fill(acc.begin(), acc.end(), 0.0f);
            for (int t = 0; t < rows.count[yi]; ++t) {
                const float wy = rows.weights[static_cast<size_t>(rows.offset[yi] + t)];
                const auto* line =
                    reinterpret_cast<const QRgb*>(level.constScanLine(rows.first[yi] + t));
                for (int x = 0; x < width; ++x) {
                    const auto xi = static_cast<size_t>(x);
                    const Rgb sum = weighedColumns(line + columns.first[xi], columns, xi);
                    acc[3 * xi] += wy * sum.r;
                    acc[3 * xi + 1] += wy * sum.g;
                    acc[3 * xi + 2] += wy * sum.b;
                }
            }
            for (int x = 0; x < width; ++x) {
                const auto xi = static_cast<size_t>(x);
                out[x] =
                    qRgb(toByte(acc[3 * xi]), toByte(acc[3 * xi + 1]), toByte(acc[3 * xi + 2]));
            }
        }
    });
}

QImage AreaResampler::materialise(const PicturePyramid& picture, QSize zoomedSize) {
    if (zoomedSize.width() < 1 || zoomedSize.height() < 1) {
        return {};
    }
    QImage surface(zoomedSize, QImage::Format_RGB32);
    if (surface.isNull()) {
        return surface;
    }
    drawRegion(picture, zoomedSize, surface.rect(), surface, QPoint(0, 0));
    return surface;
}

} // namespace portiqa
