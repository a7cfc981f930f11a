#include "core/output/JpegWriter.h"

#include "core/output/JpegSession.h"
#include "core/output/OpaqueImage.h"

#include <QSysInfo>

#include <algorithm>

namespace portiqa {

namespace {

struct PlainJob {
    const QImage* pixels; // Format_RGB888, or Format_RGB32 when libjpeg can read it directly
    J_COLOR_SPACE pixelLayout;
    int components;
    int quality;
    JpegLayout layout;
};

// Opaque 32-bit pictures (captures are held that way) go to libjpeg as they are, which saves a
// copy; libjpeg-turbo converts every layout to YCbCr with the same arithmetic.
bool takesRgb32(const QImage& image) {
#if defined(JCS_EXTENSIONS)
    return image.format() == QImage::Format_RGB32;
#else
    Q_UNUSED(image);
    return false;
#endif
}

void writeScanlines(jpeg::Session& session, void* context) {
    const auto* job = static_cast<const PlainJob*>(context);
    jpeg_compress_struct& cinfo = session.cinfo;
    cinfo.image_width = static_cast<JDIMENSION>(job->pixels->width());
    cinfo.image_height = static_cast<JDIMENSION>(job->pixels->height());
    cinfo.input_components = job->components;
    cinfo.in_color_space = job->pixelLayout;
    jpeg::applyOutputSettings(cinfo, job->quality, job->layout);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg does not write through the row pointer; its API just is not const-correct.
        JSAMPROW row = const_cast<JSAMPROW>(job->pixels->constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
}

std::optional<QByteArray> encode(const QImage& image, int quality, std::int64_t maxBytes,
                                 const JpegLayout& layout) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        return QByteArray();
    }
    PlainJob job{&image, JCS_RGB, 3, std::clamp(quality, 0, 100), layout};
    QImage rgb;
    if (takesRgb32(image)) {
#if defined(JCS_EXTENSIONS)
        // QImage keeps 0xffRRGGBB words: B, G, R, X in memory on little-endian machines.
        job.pixelLayout =
            QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
        job.components = 4;
#endif
    } else {
        rgb = opaqueRgb888(image);
        job.pixels = &rgb;
    }
    QByteArray out;
    bool tooLarge = false;
    if (!jpeg::compress(out, maxBytes, writeScanlines, &job, &tooLarge) && tooLarge) {
        return std::nullopt;
    }
    return out; // empty when libjpeg refused the picture (for example wider than 65500)
}

} // namespace

std::optional<QByteArray> encodeJpeg(const QImage& image, int quality, std::int64_t maxBytes,
                                     const JpegLayout& layout) {
    return encode(image, quality, maxBytes, layout);
}

QByteArray encodeJpegWithDensity(const QImage& image, int quality, int dotsPerInch) {
    JpegLayout layout;
    layout.dotsPerInch = std::clamp(dotsPerInch, 0, 65535);
    return encode(image, quality, -1, layout).value_or(QByteArray());
}

} // namespace portiqa
