#include "core/image/PngDecoder.h"

#include "core/image/AlphaBlend.h"

#include <png.h>

namespace portiqa {

namespace {

// Frees libpng's state on every way out; png_image_free is harmless once finished.
class PngImage {
public:
    PngImage() { image_.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    png_image* operator->() { return &image_; }
    png_image* get() { return &image_; }

private:
    png_image image_{};
};

DecodedPicture failed(DecodeError error, QSize fullSize = {}) {
    DecodedPicture result = DecodedPicture::failure(error, {});
    result.fullSize = fullSize;
    return result;
}

} // namespace

DecodedPicture PngDecoder::decode(const QByteArray& bytes, const DecodeLimits& limits) {
    PngImage png;
    if (!png_image_begin_read_from_memory(png.get(), bytes.constData(), size_t(bytes.size()))) {
        return failed(DecodeError::Corrupt);
    }
    const QSize size(int(qMin<png_uint_32>(png->width, INT_MAX)),
                     int(qMin<png_uint_32>(png->height, INT_MAX)));
    if (!limits.accepts(png->width, png->height)) {
        return failed(DecodeError::TooLarge, size);
    }
    // QImage's ARGB32 is one native-endian 32-bit word per pixel: BGRA bytes on x86.
    png->format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull()) {
        return failed(DecodeError::OutOfMemory, size);
    }
    const auto stride = static_cast<png_int_32>(image.bytesPerLine());
    if (!png_image_finish_read(png.get(), nullptr, image.bits(), stride, nullptr)) {
        return failed(DecodeError::Corrupt, size);
    }
    DecodedPicture result;
    result.image = AlphaBlend::overWhite(std::move(image));
    result.fullSize = size;
    return result;
}

} // namespace portiqa
