#include "core/output/JpegWriter.h"
#include "core/output/PreparedJpeg.h"

#include "support/TestSupport.h"
#include "SyntheticPhoto.h"

#include <QImage>

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace portiqa;

namespace {

QImage portrait() {
    QImage image;
    image.loadFromData(
        test::readAll(test::fixturePath(QStringLiteral("output/portrait_413x626.jpg"))));
    return image;
}

struct Segment {
    unsigned char marker;
    QByteArray payload;
};

// The marker segments before the entropy-coded data (up to and including SOS).
std::vector<Segment> headerSegments(const QByteArray& jpeg) {
    std::vector<Segment> segments;
    int at = 2; // after SOI
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const unsigned char marker = uchar(jpeg[at + 1]);
        const int length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
        segments.push_back({marker, jpeg.mid(at + 4, length - 2)});
        if (marker == 0xDA) {
            break;
        }
        at += 2 + length;
    }
    return segments;
}

} // namespace

// The quality search encodes from coefficients computed once; its files must be the very files
// the plain encoder writes, or the search would choose on sizes nobody gets.
// The size check answers from counted bits before writing anything; at every quality a budget
// of exactly the file's size must pass and one byte less must not.
TEST(PreparedJpeg, WritesThePlainEncodersBytesAtEveryQuality) {
    const QImage picture = portrait();
    ASSERT_EQ(picture.size(), QSize(413, 626));
    const PreparedJpeg prepared(picture);
    for (int quality = 0; quality <= 100; ++quality) {
        const QByteArray plain = encodeJpeg(picture, quality).value();
        ASSERT_FALSE(plain.isEmpty());
        ASSERT_EQ(prepared.encode(quality).value(), plain) << "quality " << quality;
        EXPECT_EQ(prepared.encode(quality, plain.size()).value_or(QByteArray()), plain)
            << "quality " << quality;
        EXPECT_FALSE(prepared.encode(quality, plain.size() - 1).has_value())
            << "quality " << quality;
    }
}

TEST(PreparedJpeg, TheProgramsLibjpegPassesTheSelfCheck) {
    // Without it the program quietly falls back to plain encodes; the search would be slow.
    EXPECT_TRUE(PreparedJpeg::matchesPlainEncoder());
}

// Edge handling differs with every remainder of the sides modulo 8 and 16 (partial blocks,
// padding blocks, odd last rows for the halved chroma), so sweep awkward sizes. The plain
// encoder reads 24-bit and 32-bit pixels by different routes; both must agree.
TEST(PreparedJpeg, MatchesThePlainEncoderAtAwkwardSizes) {
    const QSize sizes[] = {{1, 1},   {2, 3},   {7, 5},  {8, 8},   {9, 17},    {15, 16},
                           {16, 15}, {17, 33}, {31, 9}, {33, 47}, {160, 210}, {250, 251}};
    const int qualities[] = {0, 1, 5, 37, 50, 75, 90, 95, 99, 100};
    std::uint32_t seed = 11;
    for (const QSize& size : sizes) {
        const QImage picture = test::syntheticPhoto(size.width(), size.height(), seed++);
        const QImage picture32 = picture.convertToFormat(QImage::Format_RGB32);
        const PreparedJpeg prepared(picture);
        for (int quality : qualities) {
            const QByteArray fast = prepared.encode(quality).value();
            EXPECT_EQ(fast, encodeJpeg(picture, quality).value())
                << size.width() << "x" << size.height() << " quality " << quality;
            EXPECT_EQ(fast, encodeJpeg(picture32, quality).value())
                << size.width() << "x" << size.height() << " quality " << quality << " (32-bit)";
        }
    }
}

TEST(PreparedJpeg, MatchesThePlainEncoderOnExtremePictures) {
    // Saturated colours with hard edges stress the rounding of the colour conversion; black
    // and white 8x8 blocks give the largest DC steps; noise gives the largest AC values.
    const QRgb colours[] = {qRgb(255, 255, 255), qRgb(0, 0, 0),    qRgb(255, 0, 0),
                            qRgb(0, 255, 0),     qRgb(0, 0, 255),  qRgb(255, 255, 0),
                            qRgb(0, 255, 255),   qRgb(255, 0, 255)};
    QImage saturated(37, 29, QImage::Format_RGB888);
    QImage blocks(64, 48, QImage::Format_RGB888);
    QImage noise(45, 38, QImage::Format_RGB888);
    std::mt19937 random(5);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (saturated.valid(x, y)) {
                saturated.setPixel(x, y, colours[(x / 3 + y / 2 * 3 + (x ^ y)) % 8]);
            }
            if (blocks.valid(x, y)) {
                blocks.setPixel(x, y, ((x / 8 + y / 8) & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            }
            if (noise.valid(x, y)) {
                noise.setPixel(x, y,
                               qRgb(int(random() & 255), int(random() & 255), int(random() & 255)));
            }
        }
    }
    JpegLayout fullChroma;
    fullChroma.fullChroma = true;
    JpegLayout printed;
    printed.dotsPerInch = 350;
    for (const JpegLayout& layout : {JpegLayout(), fullChroma, printed}) {
        for (const QImage* picture : {&saturated, &blocks, &noise}) {
            const PreparedJpeg prepared(*picture, layout);
            for (int quality : {0, 25, 50, 85, 100}) {
                EXPECT_EQ(prepared.encode(quality).value(),
                          encodeJpeg(*picture, quality, -1, layout).value())
                    << picture->width() << "x" << picture->height() << " quality " << quality
                    << " 4:4:4 " << layout.fullChroma << " dpi " << layout.dotsPerInch;
            }
        }
    }
}

// The search asks "does it fit in N bytes?"; both encoders may give up early (the prepared one
// even before libjpeg writes a byte, from the exact entropy-coded length), so the answer at
// the exact size and one byte below must still be right, also where the headers dominate.
TEST(JpegWriter, StopsWhenTheFileOutgrowsTheBudgetAndOnlyThen) {
    const QSize sizes[] = {{1, 1}, {16, 16}, {120, 90}};
    for (const QSize& size : sizes) {
        const QImage picture = test::syntheticPhoto(size.width(), size.height(), 3);
        const PreparedJpeg prepared(picture);
        for (int quality : {0, 50, 80, 100}) {
            const QByteArray full = encodeJpeg(picture, quality).value();
            const qint64 n = full.size();
            const struct {
                qint64 budget;
                bool fits;
            } cases[] = {{n, true}, {n + 1, true}, {n - 1, false}, {0, false}, {-1, true}};
            for (const auto& c : cases) {
                const auto plain = encodeJpeg(picture, quality, c.budget);
                const auto fast = prepared.encode(quality, c.budget);
                const std::string where =
                    std::to_string(size.width()) + "x" + std::to_string(size.height()) + " q" +
                    std::to_string(quality) + " budget " + std::to_string(c.budget);
                ASSERT_EQ(plain.has_value(), c.fits) << where;
                ASSERT_EQ(fast.has_value(), c.fits) << where;
                if (c.fits) {
                    EXPECT_EQ(*plain, full) << where;
                    EXPECT_EQ(*fast, full) << where;
                }
            }
        }
    }
}

TEST(JpegWriter, WritesBaselineFourTwoZeroWithJfifAndOptimisedTables) {
    const QByteArray jpeg = encodeJpeg(test::syntheticPhoto(64, 48, 5), 75).value();
    ASSERT_GE(jpeg.size(), 4);
    EXPECT_EQ(uchar(jpeg[0]), 0xFF);
    EXPECT_EQ(uchar(jpeg[1]), 0xD8);
    bool sawJfif = false, sawBaselineFrame = false, sawOptimisedLumaDc = false;
    // Code-length counts of the standard luminance DC table, which an unoptimised file carries.
    const QByteArray standardLumaDc(
        "\x00\x01\x05\x01\x01\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00", 16);
    for (const Segment& s : headerSegments(jpeg)) {
        EXPECT_FALSE(s.marker >= 0xE1 && s.marker <= 0xEF) << "APP" << (s.marker - 0xE0);
        EXPECT_NE(s.marker, 0xC2) << "progressive frame";
        if (s.marker == 0xE0) {
            sawJfif = s.payload.startsWith(QByteArray("JFIF\0", 5));
        }
        if (s.marker == 0xC4 && s.payload.startsWith('\x00')) { // DC table 0
            sawOptimisedLumaDc = s.payload.mid(1, 16) != standardLumaDc;
        }
        if (s.marker == 0xC0) {
            sawBaselineFrame = true;
            ASSERT_EQ(s.payload.size(), 6 + 3 * 3);
            EXPECT_EQ(uchar(s.payload[5]), 3);    // components
            EXPECT_EQ(uchar(s.payload[7]), 0x22); // luma 2x2
            EXPECT_EQ(uchar(s.payload[10]), 0x11);
            EXPECT_EQ(uchar(s.payload[13]), 0x11);
        }
    }
    EXPECT_TRUE(sawJfif);
    EXPECT_TRUE(sawBaselineFrame);
    EXPECT_TRUE(sawOptimisedLumaDc);
    EXPECT_EQ(jpeg.right(2), QByteArray("\xFF\xD9"));
}

TEST(JpegWriter, RefusesPicturesBeyondTheFormatWithAnEmptyResult) {
    const QImage tooWide(70000, 1, QImage::Format_RGB888);
    EXPECT_TRUE(encodeJpeg(tooWide, 50).value_or(QByteArray("x")).isEmpty());
    EXPECT_TRUE(PreparedJpeg(tooWide).encode(50).value_or(QByteArray("x")).isEmpty());
    EXPECT_TRUE(encodeJpeg(QImage(), 50).value_or(QByteArray("x")).isEmpty());
}
