#include "core/output/BmpWriter.h"

#include "core/output/OpaqueImage.h"

#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace portiqa {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre96Dpi = 3780;

void put16(char* at, std::uint16_t value) {
    qToLittleEndian(value, at);
}
void put32(char* at, std::uint32_t value) {
    qToLittleEndian(value, at);
}

} // namespace

QByteArray encodeBmp24(const QImage& image, int dotsPerInch) {
    if (image.isNull()) {
        return {};
    }
    const QImage rgb = opaqueRgb888(image);
    const qint64 width = rgb.width();
    const qint64 height = rgb.height();
    const qint64 stride = (width * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = stride * height;
    const qint64 fileSize = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (fileSize > std::numeric_limits<std::uint32_t>::max()) {
        return {}; // the format's size fields cannot describe it
    }

    QByteArray bytes(static_cast<qsizetype>(fileSize), '\0');
    char* p = bytes.data();
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, std::uint32_t(fileSize));
    put32(p + 10, kFileHeaderSize + kInfoHeaderSize); // offset of the pixels
    char* info = p + kFileHeaderSize;
    put32(info + 0, kInfoHeaderSize);
    put32(info + 4, std::uint32_t(width));
    put32(info + 8, std::uint32_t(height)); // positive: rows stored bottom-up
    put16(info + 12, 1);                    // planes
    put16(info + 14, 24);                   // bits per pixel
    put32(info + 16, 0);                    // no compression
    put32(info + 20, std::uint32_t(pixelBytes));
    const std::uint32_t perMetre = dotsPerInch > 0
                                       ? std::uint32_t(std::lround(dotsPerInch / 0.0254))
                                       : std::uint32_t(kPixelsPerMetre96Dpi);
    put32(info + 24, perMetre);
    put32(info + 28, perMetre);

    char* pixels = info + kInfoHeaderSize;
    for (qint64 y = 0; y < height; ++y) {
        const uchar* src = rgb.constScanLine(int(height - 1 - y));
        char* dst = pixels + y * stride;
        for (qint64 x = 0; x < width; ++x) {
            dst[3 * x + 0] = char(src[3 * x + 2]);
            dst[3 * x + 1] = char(src[3 * x + 1]);
            dst[3 * x + 2] = char(src[3 * x + 0]);
        }
    }
    return bytes;
}

} // namespace portiqa
