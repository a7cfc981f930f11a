#include "core/image/PictureDecoder.h"
#include "core/image/ExifOrientation.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace portiqa;

namespace {

QString fixture(const char* name) {
    return test::fixturePath(QStringLiteral("image/") + QLatin1String(name));
}

::testing::AssertionResult near(QRgb actual, QRgb expected, int tolerance) {
    const int worst = std::max({std::abs(qRed(actual) - qRed(expected)),
                                std::abs(qGreen(actual) - qGreen(expected)),
                                std::abs(qBlue(actual) - qBlue(expected))});
    if (worst <= tolerance && qAlpha(actual) == 255) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got rgba(" << qRed(actual) << "," << qGreen(actual) << "," << qBlue(actual) << ","
           << qAlpha(actual) << ") wanted rgb(" << qRed(expected) << "," << qGreen(expected) << ","
           << qBlue(expected) << ") within " << tolerance;
}

// The fixtures show red, green / blue, white quadrants when upright; checks the middle of
// each quadrant, wherever the picture's size puts it.
void expectUprightQuadrants(const QImage& image, int tolerance, const std::string& what) {
    const int w = image.width();
    const int h = image.height();
    EXPECT_TRUE(near(image.pixel(w / 4, h / 4), qRgb(255, 0, 0), tolerance)) << what << " top left";
    EXPECT_TRUE(near(image.pixel(3 * w / 4, h / 4), qRgb(0, 255, 0), tolerance))
        << what << " top right";
    EXPECT_TRUE(near(image.pixel(w / 4, 3 * h / 4), qRgb(0, 0, 255), tolerance))
        << what << " bottom left";
    EXPECT_TRUE(near(image.pixel(3 * w / 4, 3 * h / 4), qRgb(255, 255, 255), tolerance))
        << what << " bottom right";
}

} // namespace

TEST(PictureDecoder, EveryFormatArrivesUprightAsOpaqueRgb32) {
    const struct {
        const char* file;
        int tolerance;
    } cases[] = {
        {"baseline.jpg", 6},      {"progressive.jpg", 6},  {"jpeg_named.png", 6},
        {"no_end_marker.jpg", 6}, {"cmyk.jpg", 10},        {"picture.bmp", 0},
        {"animated.gif", 0},      {"orientation1.jpg", 6}, {"orientation2.jpg", 6},
        {"orientation3.jpg", 6},  {"orientation4.jpg", 6}, {"orientation5.jpg", 6},
        {"orientation6.jpg", 6},  {"orientation7.jpg", 6}, {"orientation8.jpg", 6},
    };
    const PictureDecoder decoder;
    for (const auto& c : cases) {
        const DecodedPicture picture = decoder.decodeFile(fixture(c.file));
        ASSERT_TRUE(picture.ok()) << c.file << ": " << picture.message.toStdString();
        EXPECT_EQ(picture.image.format(), QImage::Format_RGB32) << c.file;
        EXPECT_EQ(picture.image.size(), QSize(128, 64)) << c.file;
        EXPECT_EQ(picture.fullSize, QSize(128, 64)) << c.file;
        EXPECT_FALSE(picture.isPreview()) << c.file;
        expectUprightQuadrants(picture.image, c.tolerance, c.file);
    }
}

TEST(PictureDecoder, ReadsFilesWhateverTheirNameAndRefusesWhatIsNoFile) {
    QTemporaryDir dir;
    const QString chinese = dir.filePath(QStringLiteral("证件照 张三.JPG"));
    ASSERT_TRUE(QFile::copy(fixture("baseline.jpg"), chinese));
    EXPECT_TRUE(PictureDecoder().decodeFile(chinese).ok());
#ifdef Q_OS_UNIX
    // A device reads for ever; it must be refused, not read.
    EXPECT_EQ(PictureDecoder().decodeFile(QStringLiteral("/dev/zero")).error,
              DecodeError::Unreadable);
#endif
}

TEST(PictureDecoder, GrayscaleJpegGivesGreyPixelsOfTheRightLightness) {
    const DecodedPicture picture = PictureDecoder().decodeFile(fixture("grayscale.jpg"));
    ASSERT_TRUE(picture.ok());
    ASSERT_EQ(picture.image.size(), QSize(128, 64));
    // Luma of red, green, blue and white.
    const struct {
        QPoint at;
        int grey;
    } cases[] = {{{32, 16}, 76}, {{96, 16}, 150}, {{32, 48}, 29}, {{96, 48}, 255}};
    for (const auto& c : cases) {
        EXPECT_TRUE(near(picture.image.pixel(c.at), qRgb(c.grey, c.grey, c.grey), 4))
            << c.at.x() << "," << c.at.y();
    }
}

TEST(PictureDecoder, PngTransparencyIsBlendedOverWhite) {
    const DecodedPicture picture = PictureDecoder().decode(test::readAll(fixture("alpha.png")));
    ASSERT_TRUE(picture.ok()) << picture.message.toStdString();
    EXPECT_EQ(picture.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.image.size(), QSize(8, 4));
    EXPECT_EQ(picture.image.pixel(1, 2), qRgb(255, 0, 0));     // opaque
    EXPECT_EQ(picture.image.pixel(4, 2), qRgb(127, 127, 255)); // alpha 128 blue
    EXPECT_EQ(picture.image.pixel(7, 2), qRgb(255, 255, 255)); // fully transparent
}

TEST(PictureDecoder, BadFilesFailWithAReasonAndNoPicture) {
    const struct {
        const char* file;
        DecodeError error;
    } cases[] = {
        {"empty.jpg", DecodeError::Empty},
        {"notes.jpg", DecodeError::UnknownFormat},
        {"picture.tif", DecodeError::UnknownFormat},
        {"truncated.jpg", DecodeError::Corrupt},
        {"truncated_progressive.jpg", DecodeError::Corrupt},
        {"bad_crc.png", DecodeError::Corrupt},
        {"many_scans.jpg", DecodeError::Corrupt},
        {"lossless_process.jpg", DecodeError::Unsupported},
        {"huge_header.png", DecodeError::TooLarge},
        {"huge_header.jpg", DecodeError::TooLarge},
        {"huge_header.gif", DecodeError::TooLarge},
        {"huge_header.bmp", DecodeError::TooLarge},
        {"wide_70000x1.png", DecodeError::TooLarge},
        {"no_such_file.jpg", DecodeError::Unreadable},
        {"", DecodeError::Unreadable}, // the fixture folder itself
    };
    const PictureDecoder decoder;
    for (const auto& c : cases) {
        for (const QSize preview : {QSize(), QSize(16, 16)}) {
            QByteArray bytes;
            DecodedPicture picture;
            if (decoder.readFile(fixture(c.file), bytes, picture)) {
                picture = decoder.decode(bytes, preview, nullptr);
            }
            EXPECT_FALSE(picture.ok()) << c.file;
            EXPECT_TRUE(picture.image.isNull()) << c.file;
            EXPECT_EQ(picture.error, c.error) << c.file;
            EXPECT_FALSE(picture.message.isEmpty()) << c.file;
        }
    }
}

TEST(PictureDecoder, OversizeIsRefusedWithTheDeclaredSizeInTheMessage) {
    const PictureDecoder decoder;
    const DecodedPicture png = decoder.decodeFile(fixture("huge_header.png"));
    EXPECT_EQ(png.fullSize, QSize(100000, 100000));
    EXPECT_EQ(png.message, QStringLiteral("图片太大（100000×100000像素），超出了本软件能处理的范围"
                                          "（每边不超过65535像素，总数不超过2亿像素）。"));
    for (const char* file : {"huge_header.jpg", "huge_header.gif", "huge_header.bmp"}) {
        EXPECT_EQ(decoder.decodeFile(fixture(file)).fullSize, QSize(60000, 60000)) << file;
    }
    EXPECT_EQ(PictureDecoder::messageCaption(), QStringLiteral("提示"));

    DecodeLimits smallFiles;
    smallFiles.maxFileBytes = 800; // baseline.jpg has 801 bytes
    const DecodedPicture file = PictureDecoder(smallFiles).decodeFile(fixture("baseline.jpg"));
    EXPECT_EQ(file.error, DecodeError::TooLarge);
    EXPECT_FALSE(file.message.isEmpty());
}

TEST(PictureDecoder, LimitsAreInclusiveAndApplyToEveryFormat) {
    const struct {
        qint64 maxPixels;
        int maxSide;
        bool accepted;
    } cases[] = {
        {128 * 64, 128, true},
        {128 * 64 - 1, 128, false},
        {128 * 64, 127, false},
    };
    for (const char* file : {"baseline.jpg", "picture.bmp", "animated.gif"}) {
        for (const auto& c : cases) {
            DecodeLimits limits;
            limits.maxPixels = c.maxPixels;
            limits.maxSide = c.maxSide;
            const DecodedPicture picture = PictureDecoder(limits).decodeFile(fixture(file));
            EXPECT_EQ(picture.ok(), c.accepted) << file << " " << c.maxPixels << " " << c.maxSide;
            if (!c.accepted) {
                EXPECT_EQ(picture.error, DecodeError::TooLarge) << file;
            }
        }
    }
}

TEST(PictureDecoder, PreviewIsTheSmallestDctScaleCoveringTheFittedSize) {
    const QByteArray large = test::readAll(fixture("large.jpg")); // 512 x 256
    const struct {
        QSize area;
        QSize expected; // fitted size in the comment
    } cases[] = {
        {{64, 32}, {64, 32}},     // 64 x 32: 1/8 exactly
        {{64, 33}, {64, 32}},     // the width decides: still 64 x 32
        {{65, 10}, {64, 32}},     // the height decides: 20 x 10
        {{66, 40}, {128, 64}},    // 66 x 33 is one pixel over 1/8
        {{200, 100}, {256, 128}}, // 200 x 100
        {{300, 100}, {256, 128}}, // 200 x 100 again: the height decides
        {{300, 200}, {512, 256}}, // 300 x 150 needs more than half
        {{600, 600}, {512, 256}}, // never enlarged: the full picture
        {{0, 0}, {512, 256}},     // no preview asked for
    };
    const PictureDecoder decoder;
    for (const auto& c : cases) {
        const DecodedPicture picture = decoder.decodePreview(large, c.area);
        ASSERT_TRUE(picture.ok()) << c.area.width();
        EXPECT_EQ(picture.image.size(), c.expected) << c.area.width() << "x" << c.area.height();
        EXPECT_EQ(picture.fullSize, QSize(512, 256));
        EXPECT_EQ(picture.isPreview(), c.expected != QSize(512, 256));
    }
}

TEST(PictureDecoder, PreviewOfATurnedPhotoIsUprightAndScaledInUprightTerms) {
    const PictureDecoder decoder;
    for (const char* file : {"orientation6.jpg", "orientation8.jpg", "orientation5.jpg"}) {
        // Stored 64 x 128; upright 128 x 64. Fitted into 32 x 16: 1/4, not 1/8.
        const DecodedPicture picture =
            decoder.decodePreview(test::readAll(fixture(file)), {32, 16});
        ASSERT_TRUE(picture.ok()) << file;
        EXPECT_EQ(picture.image.size(), QSize(32, 16)) << file;
        EXPECT_EQ(picture.fullSize, QSize(128, 64)) << file;
        expectUprightQuadrants(picture.image, 12, file);
    }
}

TEST(PictureDecoder, PreviewOfAFormatThatCannotScaleIsTheFullPicture) {
    const DecodedPicture picture =
        PictureDecoder().decodePreview(test::readAll(fixture("picture.bmp")), {8, 8});
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.image.size(), QSize(128, 64));
    EXPECT_FALSE(picture.isPreview());
}

TEST(PictureDecoder, CancelledDecodeHandsOutNothing) {
    const std::atomic<bool> cancel{true};
    const DecodedPicture picture =
        PictureDecoder().decode(test::readAll(fixture("large.jpg")), QSize(), &cancel);
    EXPECT_EQ(picture.error, DecodeError::Cancelled);
    EXPECT_TRUE(picture.image.isNull());
    EXPECT_TRUE(picture.message.isEmpty());
}

TEST(PictureDecoder, ClipboardImagesFollowTheSameRules) {
    QImage pasted(4, 2, QImage::Format_ARGB32_Premultiplied);
    pasted.fill(Qt::transparent);
    pasted.setPixel(0, 0, qRgba(0, 0, 255, 255));
    const PictureDecoder decoder;
    const DecodedPicture picture = decoder.fromImage(pasted);
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(picture.image.pixel(3, 1), qRgb(255, 255, 255));

    DecodeLimits small;
    small.maxPixels = 7;
    EXPECT_EQ(PictureDecoder(small).fromImage(pasted).error, DecodeError::TooLarge);
    EXPECT_FALSE(decoder.fromImage(QImage()).ok());
}

TEST(ExifOrientation, MalformedSegmentsReadAsUpright) {
    const auto app1 = [](const QByteArray& tiff) { return QByteArray("Exif\0\0", 6) + tiff; };
    const QByteArray good = QByteArray::fromHex("4d4d002a00000008" // MM, 42, IFD at 8
                                                "0001"             // one entry
                                                "011200030000000100060000"
                                                "00000000");
    const struct {
        QByteArray segment;
        int expected;
    } cases[] = {
        {app1(good), 6},
        {app1(good.left(18)), 1},                                         // entry cut off
        {QByteArray("Exig\0\0", 6) + good, 1},                            // not EXIF
        {app1(QByteArray(good).replace(0, 2, "XX")), 1},                  // no byte order
        {app1(QByteArray(good).replace(18, 2, "\x00\x09", 2)), 1},        // no such orientation
        {app1(QByteArray(good).replace(4, 4, "\xff\xff\xff\xf0", 4)), 1}, // IFD far away
        {app1(QByteArray(good).replace(8, 4, "\xff\xff\x01\x00", 4)),
         1}, // 65535 entries, one there
        {QByteArray(), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            ExifOrientation::fromApp1(reinterpret_cast<const unsigned char*>(c.segment.constData()),
                                      std::size_t(c.segment.size())),
            c.expected)
            << c.segment.toHex().toStdString();
    }
}

// Damage anywhere in a file must end in either a consistent picture or a failure with a
// reason: never a crash, never a failure without words. (A damaged header may well describe
// another valid size; the pixels are then whatever the data gives.)
TEST(PictureDecoder, DamagedFilesGiveAPictureOrAReason) {
    const PictureDecoder decoder;
    for (const char* file : {"baseline.jpg", "progressive.jpg", "cmyk.jpg", "orientation6.jpg",
                             "alpha.png", "animated.gif", "picture.bmp"}) {
        const QByteArray good = test::readAll(fixture(file));
        std::vector<QByteArray> damaged;
        for (int cut = 0; cut < good.size(); cut += 7) {
            damaged.push_back(good.left(cut));
        }
        quint32 seed = 2024;
        for (int i = 0; i < 200; ++i) {
            QByteArray bytes = good;
            for (int flips = 0; flips < 3; ++flips) {
                seed = seed * 1664525u + 1013904223u;
                bytes[int(seed % quint32(bytes.size()))] = char(seed >> 24);
            }
            damaged.push_back(bytes);
        }
        for (const QByteArray& bytes : damaged) {
            for (const QSize preview : {QSize(), QSize(16, 8)}) {
                const DecodedPicture picture = decoder.decode(bytes, preview, nullptr);
                if (picture.ok()) {
                    EXPECT_TRUE(decoder.limits().accepts(picture.fullSize.width(),
                                                         picture.fullSize.height()));
                    if (preview.isEmpty()) {
                        EXPECT_EQ(picture.image.size(), picture.fullSize) << file;
                    }
                    EXPECT_EQ(picture.image.format(), QImage::Format_RGB32) << file;
                } else {
                    EXPECT_FALSE(picture.message.isEmpty()) << file;
                    EXPECT_TRUE(picture.image.isNull()) << file;
                }
            }
        }
    }
}
