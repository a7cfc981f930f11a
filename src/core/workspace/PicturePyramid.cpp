#include "core/workspace/PicturePyramid.h"

#include "core/workspace/ParallelRows.h"

#include <QRect>

#include <algorithm>
#include <cstring>
#include <new>

namespace portiqa {

namespace {

// Pixels columns x0..x1-1 of rows y0..y1-1 of `result`, each the rounded mean of the (up to)
// 2 x 2 pixels of `source` under it. `out` is result's first byte and `stride` its
// bytes per line: workers share the image, so nobody may detach it here.
void halveRows(const QImage& source, uchar* out, qsizetype stride, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
        const int r0 = 2 * y;
        const int r1 = std::min(r0 + 1, source.height() - 1);
        const auto* row0 = reinterpret_cast<const QRgb*>(source.constScanLine(r0));
        const auto* row1 = reinterpret_cast<const QRgb*>(source.constScanLine(r1));
        auto* line = reinterpret_cast<QRgb*>(out + y * stride);
        const unsigned rows = r1 == r0 ? 1 : 2;
        int x = x0;
        if (rows == 2) {
            // Whole 2 x 2 blocks, the bulk of every level: red and blue, then green, summed
            // two channels at a time in 16-bit lanes; (sum + 2) / 4 as below.
            const int whole = std::min(x1, source.width() / 2);
            for (; x < whole; ++x) {
                const quint32 a = row0[2 * x];
                const quint32 b = row0[2 * x + 1];
                const quint32 c = row1[2 * x];
                const quint32 d = row1[2 * x + 1];
                const quint32 redBlue = (a & 0x00ff00ffu) + (b & 0x00ff00ffu) + (c & 0x00ff00ffu) +
                                        (d & 0x00ff00ffu) + 0x00020002u;
                const quint32 green = (a & 0x0000ff00u) + (b & 0x0000ff00u) + (c & 0x0000ff00u) +
                                      (d & 0x0000ff00u) + 0x00000200u;
                line[x] =
                    0xff000000u | ((redBlue >> 2) & 0x00ff00ffu) | ((green >> 2) & 0x0000ff00u);
            }
        }
        for (; x < x1; ++x) {
            const int c0 = 2 * x;
            const int c1 = std::min(c0 + 1, source.width() - 1);
            const unsigned count = rows * (c1 == c0 ? 1 : 2);
            unsigned r = 0;
            unsigned g = 0;
            unsigned b = 0;
            auto add = [&](QRgb p) {
                r += qRed(p);
                g += qGreen(p);
                b += qBlue(p);
            };
            add(row0[c0]);
            if (c1 != c0) {
                add(row0[c1]);
            }
            if (r1 != r0) {
                add(row1[c0]);
                if (c1 != c0) {
                    add(row1[c1]);
                }
            }
            const unsigned half = count / 2;
            line[x] =
                qRgb(static_cast<int>((r + half) / count), static_cast<int>((g + half) / count),
                     static_cast<int>((b + half) / count));
        }
    }
}

QImage halve(const QImage& source) {
    const int width = (source.width() + 1) / 2;
    const int height = (source.height() + 1) / 2;
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull()) {
        return result;
    }
    uchar* out = result.bits();
    const qsizetype stride = result.bytesPerLine();
    ParallelRows::run(height, width * 4, [&](int first, int end) {
        halveRows(source, out, stride, 0, width, first, end);
    });
    return result;
}

// The block of the level above that a changed block of the level below reaches.
QRect halvedBlock(const QRect& block) {
    return QRect(QPoint(block.left() / 2, block.top() / 2),
                 QPoint(block.right() / 2, block.bottom() / 2));
}

} // namespace

PicturePyramid::PicturePyramid(std::vector<QImage> levels) : levels_(std::move(levels)) {}

qint64 PicturePyramid::bytes() const {
    qint64 total = 0;
    for (const QImage& level : levels_) {
        total += level.sizeInBytes();
    }
    return total;
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
        std::shared_ptr<PicturePyramid> pyramid(new PicturePyramid({std::move(base)}));
        if (!pyramid->buildLevels()) {
            return nullptr;
        }
        return pyramid;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::shared_ptr<const PicturePyramid>
PicturePyramid::patched(std::shared_ptr<const PicturePyramid>& source, QPoint at,
                        const QImage& block, QImage* replaced) {
    if (!source || block.isNull() ||
        !QRect(QPoint(0, 0), source->size()).contains(QRect(at, block.size()))) {
        return nullptr;
    }
    const QRect area(at, block.size());
    std::shared_ptr<PicturePyramid> result;
    try {
        result.reset(new PicturePyramid(source->levels_)); // shares every buffer
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    const QImage input = block.convertToFormat(QImage::Format_RGB32);
    const QImage before = result->levels_.front().copy(area);
    if (input.isNull() || before.isNull()) {
        return nullptr;
    }
    source.reset();
    // A level someone else still holds is copied before anything is written, and a copy that
    // fails leaves every level as it was.
    for (QImage& level : result->levels_) {
        if (!level.isDetached()) {
            QImage own = level.copy();
            if (own.isNull()) {
                source = result;
                return nullptr;
            }
            level = std::move(own);
        }
    }
    QImage& base = result->levels_.front();
    const qsizetype stride = base.bytesPerLine();
    uchar* bits = base.bits();
    for (int y = 0; y < area.height(); ++y) {
        std::memcpy(bits + (area.top() + y) * stride + static_cast<qsizetype>(area.left()) * 4,
                    input.constScanLine(y), static_cast<size_t>(area.width()) * 4);
    }
    QRect changed = area;
    for (size_t i = 1; i < result->levels_.size(); ++i) {
        changed = halvedBlock(changed);
        QImage& level = result->levels_[i];
        halveRows(result->levels_[i - 1], level.bits(), level.bytesPerLine(), changed.left(),
                  changed.right() + 1, changed.top(), changed.bottom() + 1);
    }
    if (replaced != nullptr) {
        *replaced = before;
    }
    return result;
}

} // namespace portiqa
