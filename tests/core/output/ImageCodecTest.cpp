#include "core/output/ImageCodec.h"
#include "core/output/BmpWriter.h"
#include "core/output/GifWriter.h"
#include "core/workspace/OutputSpec.h"

#include "SyntheticPhoto.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace portiqa;

namespace {

QByteArray qtFile(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return bytes;
}

QImage decode(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

// Pixels whose colours differ; -1 when the sizes differ.
int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return -1;
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y);
        }
    }
    return count;
}

QImage smallPicture() {
    return test::syntheticPhoto(23, 17, 7);
}

constexpr int kFormats[] = {int(ImageFormat::Bmp), int(ImageFormat::Jpeg), int(ImageFormat::Gif),
                            int(ImageFormat::Png)};

} // namespace

TEST(ImageCodec, RefusesTinyBuffersAndStillReleasesThePreviousPicture) {
    const QByteArray png = qtFile(smallPicture(), "png");
    for (int size = 0; size <= 4; ++size) {
        ImageCodec codec;
        ASSERT_TRUE(codec.loadFromBytes(png));
        EXPECT_FALSE(codec.loadFromBytes(png.left(size))) << size;
        EXPECT_FALSE(codec.isLoaded()) << size;
        EXPECT_TRUE(codec.encode(int(ImageFormat::Png), 0, false).isEmpty()) << size;
    }
}

TEST(ImageCodec, RefusesDamagedOrForeignBytesAndReleasesThePreviousPicture) {
    const QImage picture = smallPicture();
    const QByteArray png = qtFile(picture, "png");
    // A BMP header announcing 40000 x 40000 pixels: refused by the allocation limit before
    // any pixel memory is taken.
    QByteArray huge = qtFile(QImage(1, 1, QImage::Format_RGB888), "bmp");
    qToLittleEndian<std::int32_t>(40000, huge.data() + 18);
    qToLittleEndian<std::int32_t>(40000, huge.data() + 22);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"garbage", QByteArray("this is not a picture at all")},
        {"truncated png", png.left(png.size() / 3)},
        {"huge bmp header", huge},
        {"portable pixmap", qtFile(picture, "ppm")},
    };
    for (const auto& c : cases) {
        ImageCodec codec;
        ASSERT_TRUE(codec.loadFromBytes(png));
        EXPECT_FALSE(codec.loadFromBytes(c.bytes)) << c.name;
        EXPECT_FALSE(codec.isLoaded()) << c.name;
    }
}

// The largest frame the output size edits and `portiqa crop --size` accept: its captured
// picture must load, or every save at that size fails.
TEST(ImageCodec, TheLargestOutputSizeLoads) {
    QImage picture(OutputSpec::kMaxSide, OutputSpec::kMaxSide, QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    picture.fill(qRgb(30, 60, 90));
    QByteArray bmp = encodeBmp24(picture);
    picture = QImage();
    ImageCodec codec;
    ASSERT_TRUE(codec.loadFromBytes(bmp));
    bmp.clear();
    EXPECT_EQ(codec.image().size(), QSize(OutputSpec::kMaxSide, OutputSpec::kMaxSide));
    EXPECT_EQ(codec.image().pixel(OutputSpec::kMaxSide - 1, 0), qRgb(30, 60, 90));
}

TEST(ImageCodec, EncodesNothingWhenNothingIsLoaded) {
    ImageCodec codec;
    for (int format : kFormats) {
        EXPECT_TRUE(codec.encode(format, 50, true).isEmpty()) << format;
    }
}

TEST(ImageCodec, ClampsTheJpegQualityAndUsesHundredWhenUnused) {
    ImageCodec codec;
    ASSERT_TRUE(codec.loadFromBytes(qtFile(test::syntheticPhoto(64, 48), "png")));
    const QByteArray q0 = codec.encode(int(ImageFormat::Jpeg), 0, true);
    const QByteArray q100 = codec.encode(int(ImageFormat::Jpeg), 100, true);
    EXPECT_NE(q0, q100);
    EXPECT_EQ(codec.encode(int(ImageFormat::Jpeg), -5, true), q0);
    EXPECT_EQ(codec.encode(int(ImageFormat::Jpeg), 105, true), q100);
    EXPECT_EQ(codec.encode(int(ImageFormat::Jpeg), 20, false), q100);
}

TEST(ImageCodec, UnknownFormatCodeEncodesNothing) {
    ImageCodec codec;
    ASSERT_TRUE(codec.loadFromBytes(qtFile(smallPicture(), "png")));
    EXPECT_TRUE(codec.encode(4, 100, false).isEmpty());
    EXPECT_TRUE(codec.encode(0, 100, false).isEmpty());
}

TEST(ImageCodec, RecognisesEachInputFormatByContent) {
    const QImage picture = smallPicture();
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"bmp", qtFile(picture, "bmp")},
        {"jpeg", qtFile(picture, "jpeg")},
        {"gif", encodeGif(picture)}, // Qt reads GIF but does not write it
        {"png", qtFile(picture, "png")},
    };
    for (const auto& f : files) {
        ImageCodec codec;
        EXPECT_TRUE(codec.loadFromBytes(f.bytes)) << f.name;
        EXPECT_EQ(codec.image().size(), picture.size()) << f.name;
    }
}

TEST(ImageCodec, EveryOutputDecodesBackAtItsSizeAndLosslessOnesExactly) {
    const QImage picture = smallPicture();
    ImageCodec codec;
    ASSERT_TRUE(codec.loadFromBytes(qtFile(picture, "png")));
    const struct {
        ImageFormat format;
        const char* readerFormat;
        bool exact;
    } cases[] = {
        {ImageFormat::Bmp, "bmp", true},
        {ImageFormat::Jpeg, "jpeg", false},
        {ImageFormat::Gif, "gif", false},
        {ImageFormat::Png, "png", true},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = codec.encode(int(c.format), 90, true);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        EXPECT_EQ(reader.format(), c.readerFormat);
        const QImage back = reader.read();
        ASSERT_EQ(back.size(), picture.size()) << c.readerFormat;
        if (c.exact) {
            EXPECT_EQ(differingPixels(back, picture), 0) << c.readerFormat;
        }
    }
}

TEST(ImageCodec, TransparencyIsBlendedOverWhiteWhereTheFormatHasNoAlpha) {
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 0));
    picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    ImageCodec codec;
    ASSERT_TRUE(codec.loadFromBytes(qtFile(picture, "png")));
    const QImage bmp = decode(codec.encode(int(ImageFormat::Bmp), 0, false));
    EXPECT_EQ(bmp.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(bmp.pixel(3, 1), qRgb(255, 255, 255));
    const QImage png = decode(codec.encode(int(ImageFormat::Png), 0, false));
    EXPECT_TRUE(png.hasAlphaChannel());
    EXPECT_EQ(qAlpha(png.pixel(3, 1)), 0);
}

TEST(BmpWriter, WritesTheExactHeadersAndPaddedBottomUpRows) {
    QImage picture(3, 2, QImage::Format_RGB888);
    picture.setPixel(0, 0, qRgb(0x10, 0x20, 0x30));
    picture.setPixel(1, 0, qRgb(0x40, 0x50, 0x60));
    picture.setPixel(2, 0, qRgb(0x70, 0x80, 0x90));
    picture.setPixel(0, 1, qRgb(0xA0, 0xB0, 0xC0));
    picture.setPixel(1, 1, qRgb(0xD0, 0xE0, 0xF0));
    picture.setPixel(2, 1, qRgb(0x01, 0x02, 0x03));
    const unsigned char expected[] = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header: size 78, pixels at 54
        40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0,            // info header: 3 x 2, bottom-up
        1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0,           // 1 plane, 24 bits, BI_RGB, 24 bytes
        0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0,             // 3780 pixels per metre (96 dpi)
        0, 0, 0, 0, 0, 0, 0, 0,                         // no palette
        // bottom row first, blue-green-red, padded from 9 to 12 bytes
        0xC0, 0xB0, 0xA0, 0xF0, 0xE0, 0xD0, 0x03, 0x02, 0x01, 0, 0, 0, 0x30, 0x20, 0x10, 0x60, 0x50,
        0x40, 0x90, 0x80, 0x70, 0, 0, 0};
    EXPECT_EQ(encodeBmp24(picture),
              QByteArray(reinterpret_cast<const char*>(expected), sizeof expected));
    EXPECT_TRUE(encodeBmp24(QImage()).isEmpty());
}
