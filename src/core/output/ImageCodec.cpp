#include "core/output/ImageCodec.h"

#include "core/output/BmpWriter.h"
#include "core/output/GifWriter.h"
#include "core/output/JpegWriter.h"
#include "core/output/PngWriter.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace portiqa {

namespace {

bool isAcceptedFormat(const QByteArray& format) {
    return format == "bmp" || format == "jpeg" || format == "gif" || format == "png";
}

} // namespace

bool ImageCodec::loadFromBytes(const QByteArray& bytes) {
    release();
    if (bytes.size() <= 4) {
        return false;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return false;
    }
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    if (!isAcceptedFormat(reader.format())) {
        return false;
    }
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) {
        return false;
    }
    image_ = decoded.hasAlphaChannel() ? decoded.convertToFormat(QImage::Format_ARGB32)
                                       : decoded.convertToFormat(QImage::Format_RGB32);
    return !image_.isNull();
}

QByteArray ImageCodec::encode(int formatCode, int quality, bool useQuality, int dotsPerInch) const {
    if (!isLoaded()) {
        return {};
    }
    switch (static_cast<ImageFormat>(formatCode)) {
    case ImageFormat::Bmp:
        return encodeBmp24(image_, dotsPerInch);
    case ImageFormat::Jpeg: {
        JpegLayout layout;
        layout.dotsPerInch = dotsPerInch;
        return encodeJpeg(image_, useQuality ? std::clamp(quality, 0, 100) : 100, -1, layout)
            .value_or(QByteArray());
    }
    case ImageFormat::Gif:
        return encodeGif(image_);
    case ImageFormat::Png:
        return encodePng(image_, dotsPerInch);
    }
    return {};
}

} // namespace portiqa
