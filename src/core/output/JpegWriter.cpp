#include "core/output/JpegWriter.h"

#include "core/output/JpegSession.h"
#include "core/output/OpaqueImage.h"

#include <algorithm>

namespace portiqa {

namespace {

struct PlainJob {
    const QImage* rgb;
    int quality;
};

void writeScanlines(jpeg::Session& session, void* context) {
    const auto* job = static_cast<const PlainJob*>(context);
    jpeg_compress_struct& cinfo = session.cinfo;
    cinfo.image_width = static_cast<JDIMENSION>(job->rgb->width());
    cinfo.image_height = static_cast<JDIMENSION>(job->rgb->height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg::applyOutputSettings(cinfo, job->quality);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg does not write through the row pointer; its API just is not const-correct.
        JSAMPROW row = const_cast<JSAMPROW>(job->rgb->constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
}

} // namespace

std::optional<QByteArray> encodeJpeg(const QImage& image, int quality, std::int64_t maxBytes) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        return QByteArray();
    }
    const QImage rgb = opaqueRgb888(image);
    PlainJob job{&rgb, std::clamp(quality, 0, 100)};
    QByteArray out;
    bool tooLarge = false;
    if (!jpeg::compress(out, maxBytes, writeScanlines, &job, &tooLarge) && tooLarge) {
        return std::nullopt;
    }
    return out; // empty when libjpeg refused the picture (for example wider than 65500)
}

} // namespace portiqa
