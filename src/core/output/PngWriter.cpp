#include "core/output/PngWriter.h"

#include <png.h>

#include <cstring>

namespace portiqa {

QByteArray encodePng(const QImage& image) {
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
    return bytes;
}

} // namespace portiqa
