#include "core/output/PngWriter.h"

#include <png.h>

#include <zlib.h>

#include <cmath>
#include <cstring>

namespace portiqa {

namespace {

void putBigEndian(QByteArray& bytes, quint32 value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.append(char((value >> shift) & 0xff));
    }
}

// libpng's simplified writer has no resolution; the pHYs chunk goes in right after IHDR
// (8 bytes of signature, then IHDR's 4 + 4 + 13 + 4), where the format wants it.
QByteArray withResolution(const QByteArray& png, int dotsPerInch) {
    constexpr qsizetype kAfterHeader = 8 + 25;
    if (dotsPerInch <= 0 || png.size() < kAfterHeader) {
        return png;
    }
    const quint32 perMetre = quint32(std::lround(dotsPerInch / 0.0254));
    QByteArray chunk;
    putBigEndian(chunk, 9);
    chunk.append("pHYs", 4);
    putBigEndian(chunk, perMetre);
    putBigEndian(chunk, perMetre);
    chunk.append(char(1)); // unit: the metre
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(chunk.constData() + 4), 4 + 9);
    putBigEndian(chunk, quint32(crc));
    QByteArray out = png;
    out.insert(kAfterHeader, chunk);
    return out;
}

} // namespace

QByteArray encodePng(const QImage& image, int dotsPerInch) {
    if (image.isNull()) {
        return {};
    }
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels =
        image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(pixels.width());
    png.height = png_uint_32(pixels.height());
    png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const auto stride = png_int_32(pixels.bytesPerLine()); // in bytes = components for 8 bits

    // First ask for the size, then write into a buffer of exactly that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, pixels.constBits(), stride, nullptr) ||
        size == 0) {
        png_image_free(&png);
        return {};
    }
    QByteArray bytes(qsizetype(size), '\0');
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, pixels.constBits(), stride,
                                   nullptr)) {
        png_image_free(&png);
        return {};
    }
    png_image_free(&png);
    bytes.resize(qsizetype(size));
    return withResolution(bytes, dotsPerInch);
}

} // namespace portiqa
