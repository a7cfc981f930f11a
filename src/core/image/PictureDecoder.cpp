#include "core/image/PictureDecoder.h"

#include "core/image/AlphaBlend.h"
#include "core/image/JpegDecoder.h"
#include "core/image/PngDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace portiqa {

namespace {

bool startsWith(const QByteArray& bytes, const char* magic, int length) {
    return bytes.size() >= length && std::equal(magic, magic + length, bytes.constData());
}

// 200000000 reads better as "2亿", 5000000 as "500万".
QString pixelCountText(qint64 pixels) {
    if (pixels >= 100'000'000 && pixels % 100'000'000 == 0) {
        return QStringLiteral("%1亿").arg(pixels / 100'000'000);
    }
    if (pixels >= 10'000 && pixels % 10'000 == 0) {
        return QStringLiteral("%1万").arg(pixels / 10'000);
    }
    return QString::number(pixels);
}

quint32 littleEndian(const QByteArray& bytes, int at, int length) {
    quint32 value = 0;
    for (int i = length - 1; i >= 0; --i) {
        value = (value << 8) | quint8(bytes[at + i]);
    }
    return value;
}

// The size a GIF or BMP header declares, read here so that an absurd one is refused by
// name before Qt's reader sees it. Invalid when the header is too short to say.
QSize declaredSize(const QByteArray& bytes, PictureFormat format) {
    if (format == PictureFormat::Gif && bytes.size() >= 10) {
        return QSize(int(littleEndian(bytes, 6, 2)), int(littleEndian(bytes, 8, 2)));
    }
    if (format == PictureFormat::Bmp && bytes.size() >= 26) {
        if (littleEndian(bytes, 14, 4) == 12) { // the old OS/2 header: 16-bit sides
            return QSize(int(littleEndian(bytes, 18, 2)), int(littleEndian(bytes, 20, 2)));
        }
        const auto width = qint64(qint32(littleEndian(bytes, 18, 4)));
        const auto height = qint64(qint32(littleEndian(bytes, 22, 4))); // negative: top-down
        return QSize(int(qMin<qint64>(qAbs(width), INT_MAX)),
                     int(qMin<qint64>(qAbs(height), INT_MAX)));
    }
    return {};
}

} // namespace

PictureDecoder::PictureDecoder(DecodeLimits limits) : limits_(limits) {}

PictureFormat PictureDecoder::formatOf(const QByteArray& bytes) {
    if (startsWith(bytes, "\xFF\xD8\xFF", 3)) {
        return PictureFormat::Jpeg;
    }
    if (startsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) {
        return PictureFormat::Png;
    }
    if (startsWith(bytes, "GIF87a", 6) || startsWith(bytes, "GIF89a", 6)) {
        return PictureFormat::Gif;
    }
    // "BM" alone is common in text; a real file header is 14 bytes plus an info header.
    if (startsWith(bytes, "BM", 2) && bytes.size() >= 26) {
        return PictureFormat::Bmp;
    }
    return PictureFormat::Unknown;
}

QString PictureDecoder::messageCaption() {
    return QStringLiteral("提示");
}

QString PictureDecoder::messageFor(DecodeError error, QSize size) const {
    switch (error) {
    case DecodeError::None:
    case DecodeError::Cancelled:
        return {};
    case DecodeError::Unreadable:
        return QStringLiteral("无法读取这个文件，请检查它是否存在、是否允许读取。");
    case DecodeError::Empty:
        return QStringLiteral("这个文件是空的（0字节），不是图片。");
    case DecodeError::UnknownFormat:
        return QStringLiteral(
            "无法识别这个文件的图片格式。本软件只能打开jpg、bmp、gif、png四类图片。");
    case DecodeError::Corrupt:
        return QStringLiteral("图片文件已损坏或不完整，无法打开。");
    case DecodeError::Unsupported:
        return QStringLiteral("不支持这幅图片的编码方式，无法打开。");
    case DecodeError::OutOfMemory:
        return QStringLiteral("内存不足，无法打开这幅图片。");
    case DecodeError::TooLarge:
        break;
    }
    const QString limit = QStringLiteral("（每边不超过%1像素，总数不超过%2像素）")
                              .arg(limits_.maxSide)
                              .arg(pixelCountText(limits_.maxPixels));
    if (size.isValid() && !size.isEmpty()) {
        return QStringLiteral("图片太大（%1×%2像素），超出了本软件能处理的范围%3。")
            .arg(size.width())
            .arg(size.height())
            .arg(limit);
    }
    return QStringLiteral("图片太大，超出了本软件能处理的范围%1。").arg(limit);
}

DecodedPicture PictureDecoder::withMessage(DecodedPicture result) const {
    if (!result.ok() && result.message.isEmpty()) {
        if (result.error == DecodeError::None) {
            result.error = DecodeError::Corrupt;
        }
        result.image = QImage();
        result.message = messageFor(result.error, result.fullSize);
    }
    return result;
}

bool PictureDecoder::readFile(const QString& path, QByteArray& bytes,
                              DecodedPicture& failure) const {
    // Only plain files: a device or a pipe could be read for ever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        failure = withMessage(DecodedPicture::failure(DecodeError::Unreadable, {}));
        return false;
    }
    const qint64 size = file.size();
    if (size > limits_.maxFileBytes) {
        failure = DecodedPicture::failure(
            DecodeError::TooLarge,
            QStringLiteral("图片文件太大（%1 MB），无法打开。").arg(size >> 20));
        return false;
    }
    bytes = file.read(size);
    if (bytes.size() != size) {
        failure = withMessage(DecodedPicture::failure(DecodeError::Unreadable, {}));
        return false;
    }
    return true;
}

DecodedPicture PictureDecoder::decodeFile(const QString& path) const {
    QByteArray bytes;
    DecodedPicture failure;
    if (!readFile(path, bytes, failure)) {
        return failure;
    }
    return decode(bytes);
}

DecodedPicture PictureDecoder::decode(const QByteArray& bytes) const {
    return decode(bytes, QSize(), nullptr);
}

DecodedPicture PictureDecoder::decodePreview(const QByteArray& bytes, QSize area) const {
    return decode(bytes, area, nullptr);
}

DecodedPicture PictureDecoder::decode(const QByteArray& bytes, QSize previewArea,
                                      const std::atomic<bool>* cancel) const {
    if (bytes.isEmpty()) {
        return withMessage(DecodedPicture::failure(DecodeError::Empty, {}));
    }
    switch (formatOf(bytes)) {
    case PictureFormat::Jpeg:
        return withMessage(JpegDecoder::decode(bytes, limits_, previewArea, cancel));
    case PictureFormat::Png:
        return withMessage(PngDecoder::decode(bytes, limits_));
    case PictureFormat::Gif:
    case PictureFormat::Bmp:
        return withMessage(decodeWithQt(bytes, formatOf(bytes)));
    case PictureFormat::Unknown:
        break;
    }
    return withMessage(DecodedPicture::failure(DecodeError::UnknownFormat, {}));
}

DecodedPicture PictureDecoder::decodeWithQt(const QByteArray& bytes, PictureFormat format) const {
    const QSize size = declaredSize(bytes, format);
    if (size.isValid() && !size.isEmpty() && !limits_.accepts(size.width(), size.height())) {
        DecodedPicture result = DecodedPicture::failure(DecodeError::TooLarge, {});
        result.fullSize = size;
        return result;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format == PictureFormat::Gif ? "gif" : "bmp");
    // Qt's own guard in whole megabytes, as a second line behind the header check.
    const qint64 limitMb = (limits_.maxPixels * 4 >> 20) + 1;
    reader.setAllocationLimit(int(qMin<qint64>(limitMb, INT_MAX)));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return DecodedPicture::failure(DecodeError::Corrupt, {});
    }
    return fromImage(image);
}

DecodedPicture PictureDecoder::fromImage(const QImage& image) const {
    if (image.isNull()) {
        return withMessage(DecodedPicture::failure(DecodeError::Corrupt, {}));
    }
    if (!limits_.accepts(image.width(), image.height())) {
        DecodedPicture result = DecodedPicture::failure(DecodeError::TooLarge, {});
        result.fullSize = image.size();
        return withMessage(result);
    }
    DecodedPicture result;
    result.image = AlphaBlend::overWhite(image);
    result.fullSize = image.size();
    if (result.image.isNull()) {
        return withMessage(DecodedPicture::failure(DecodeError::OutOfMemory, {}));
    }
    return result;
}

} // namespace portiqa
