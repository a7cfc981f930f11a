#include "core/output/OutputEncoder.h"

#include "core/dialogs/Dialogs.h"
#include "core/output/JpegSizeSearch.h"
#include "core/output/PreparedJpeg.h"
#include "core/text/Numbers.h"

#include <cmath>

namespace portiqa {

OutputEncoder::OutputEncoder(ImageCodec& codec, JpegEncoderFactory jpegFactory)
    : codec_(codec), jpegFactory_(std::move(jpegFactory)) {
    if (!jpegFactory_) {
        jpegFactory_ = [](const QImage& picture) -> std::unique_ptr<JpegQualityEncoder> {
            return std::make_unique<PreparedJpeg>(picture);
        };
    }
}

OutputEncoding OutputEncoder::encodeForOutput(const QByteArray& source, const QString& extension,
                                              double limitKb) {
    const bool loaded = codec_.loadFromBytes(source);
    const QString ext = extension.toLower();
    OutputEncoding result;

    int simpleFormat = 0;
    if (ext == QLatin1String(".bmp")) {
        simpleFormat = int(ImageFormat::Bmp);
    } else if (ext == QLatin1String(".gif")) {
        simpleFormat = int(ImageFormat::Gif);
    } else if (ext == QLatin1String(".png")) {
        simpleFormat = int(ImageFormat::Png);
    } else if (ext != QLatin1String(".jpg") && ext != QLatin1String(".jpeg")) {
        result.status = OutputStatus::UnknownExtension;
        return result;
    }
    if (!loaded) {
        // Writing an empty file here would look like success; the caller says what went wrong.
        result.status = OutputStatus::UnreadablePicture;
        return result;
    }

    if (simpleFormat != 0) {
        result.bytes = codec_.encode(simpleFormat, 0, false);
        result.status = result.bytes.isEmpty() ? OutputStatus::EncodingFailed : OutputStatus::Ready;
        return result;
    }

    const std::unique_ptr<JpegQualityEncoder> encoder = jpegFactory_(codec_.image());
    const JpegSearchResult found = searchJpegQuality(*encoder, jpegLimitBytes(limitKb), parallel_);
    result.bytes = found.bytes;
    result.quality = found.quality;
    if (result.bytes.isEmpty()) {
        result.status = OutputStatus::EncodingFailed; // an empty "file" would fit any limit
    } else {
        result.status = found.fits ? OutputStatus::Ready : OutputStatus::SizeUnreachable;
    }
    return result;
}

QString unreachableSizeMessage(std::int64_t size) {
    const double kb = double(size) / 1024.0;
    // One decimal, halves away from zero; the tiny addend keeps 0.05 steps that arrive as
    // 0.0499999... from rounding down.
    const double tenths = std::floor((std::fabs(kb) + 0.000000000001) * 10.0 + 0.5);
    const double rounded = std::copysign(tenths / 10.0, kb);
    return QStringLiteral("当前采集区域输出图片所能达到的最小体积为") +
           numbers::numberText(rounded) + QStringLiteral("KB大小，\r\n请重新设置JPG输出体积。");
}

void reportUnreachableSize(Dialogs& dialogs, std::int64_t size) {
    dialogs.inform(QStringLiteral("提示"), unreachableSizeMessage(size), MessageIcon::None);
}

} // namespace portiqa
