#include "core/output/OutputEncoder.h"

#include "core/dialogs/Dialogs.h"
#include "core/output/JpegSizeSearch.h"
#include "core/output/JpegWriter.h"
#include "core/output/PreparedJpeg.h"
#include "core/text/Numbers.h"

#include <cmath>
#include <exception>

namespace portiqa {

OutputEncoder::OutputEncoder(ImageCodec& codec, JpegEncoderFactory jpegFactory)
    : codec_(codec), jpegFactory_(std::move(jpegFactory)) {
    if (!jpegFactory_) {
        jpegFactory_ = [](const QImage& picture,
                          const JpegLayout& layout) -> std::unique_ptr<JpegQualityEncoder> {
            if (PreparedJpeg::matchesPlainEncoder()) {
                return std::make_unique<PreparedJpeg>(picture, layout);
            }
            return std::make_unique<PlainJpegEncoder>(picture, layout);
        };
    }
}

namespace {

// The format code for an extension already in lower case; 0 for JPEG, -1 for none of ours.
int formatForExtension(const QString& ext) {
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg")) {
        return 0;
    }
    if (ext == QLatin1String(".bmp")) {
        return int(ImageFormat::Bmp);
    }
    if (ext == QLatin1String(".gif")) {
        return int(ImageFormat::Gif);
    }
    if (ext == QLatin1String(".png")) {
        return int(ImageFormat::Png);
    }
    return -1;
}

} // namespace

OutputEncoding OutputEncoder::encodeForOutput(const QByteArray& source, const QString& extension,
                                              double limitKb, const OutputOptions& options) {
    const bool loaded = codec_.loadFromBytes(source);
    const int format = formatForExtension(extension.toLower());
    OutputEncoding result;
    if (format < 0) {
        result.status = OutputStatus::UnknownExtension;
        return result;
    }
    if (!loaded) {
        // Writing an empty file here would look like success; the caller says what went wrong.
        result.status = OutputStatus::UnreadablePicture;
        return result;
    }
    try {
        if (format > 0) {
            result.bytes = codec_.encode(format, 0, false, options.dotsPerInch);
            result.status = OutputStatus::Ready;
        } else {
            JpegWindow window;
            window.maxBytes = jpegLimitBytes(limitKb);
            window.minBytes = options.minKb > 0 ? jpegLimitBytes(options.minKb) : 0;
            window.bestPicture = options.bestPicture;
            window.dotsPerInch = options.dotsPerInch;
            const JpegChoice choice = chooseJpeg(codec_.image(), window, jpegFactory_, parallel_);
            result.bytes = choice.found.bytes;
            result.quality = choice.found.quality;
            result.fullChroma = choice.fullChroma;
            result.belowMinimum = choice.belowMinimum;
            result.status = choice.found.fits ? OutputStatus::Ready : OutputStatus::SizeUnreachable;
        }
    } catch (const std::exception&) { // out of memory, or no thread to be had
        result.bytes.clear();
    }
    if (result.bytes.isEmpty()) {
        result.status = OutputStatus::EncodingFailed; // an empty "file" would fit any limit
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

QString belowMinimumMessage(std::int64_t size, double minKb) {
    return QStringLiteral("图片内容较简单，最高画质也只有%1KB，小于设定的最小体积%2KB；"
                          "已按最高画质保存，未填充文件。")
        .arg(numbers::numberText(std::floor(double(size) / 102.4) / 10.0),
             numbers::numberText(minKb));
}

void reportUnreachableSize(Dialogs& dialogs, std::int64_t size) {
    dialogs.inform(QStringLiteral("提示"), unreachableSizeMessage(size), MessageIcon::None);
}

} // namespace portiqa
