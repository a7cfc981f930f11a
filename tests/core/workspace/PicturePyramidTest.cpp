// Every level of the pyramid is the rounded mean of the pixels under it (2 x 2, or fewer at
// an odd edge), and a patched pyramid is the one a full build of the changed picture gives.

#include "core/workspace/PicturePyramid.h"

#include <QImage>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

QImage noise(QSize size, quint32 seed) {
    QRandomGenerator random(seed);
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
        }
    }
    return picture;
}

QRgb meanUnder(const QImage& below, int x, int y) {
    int r = 0, g = 0, b = 0, n = 0;
    for (int yy = 2 * y; yy <= std::min(2 * y + 1, below.height() - 1); ++yy) {
        for (int xx = 2 * x; xx <= std::min(2 * x + 1, below.width() - 1); ++xx) {
            const QRgb p = below.pixel(xx, yy);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    }
    return qRgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n);
}

TEST(PicturePyramid, EachLevelIsTheRoundedMeanOfTheOneBelow) {
    // Odd and even sides, and a picture large enough to be halved on several threads.
    for (const QSize size : {QSize(7, 5), QSize(64, 33), QSize(1, 9), QSize(2001, 1203)}) {
        const auto pyramid = PicturePyramid::build(noise(size, size.width()));
        ASSERT_TRUE(pyramid);
        for (int level = 1; level < pyramid->levelCount(); ++level) {
            const QImage& below = pyramid->level(level - 1);
            const QImage& above = pyramid->level(level);
            ASSERT_EQ(above.size(), QSize((below.width() + 1) / 2, (below.height() + 1) / 2));
            for (int y = 0; y < above.height(); ++y) {
                for (int x = 0; x < above.width(); ++x) {
                    ASSERT_EQ(above.pixel(x, y), meanUnder(below, x, y))
                        << size.width() << "x" << size.height() << " level " << level << " at " << x
                        << "," << y;
                }
            }
        }
    }
}

TEST(PicturePyramid, APatchedPyramidIsTheBuildOfTheChangedPicture) {
    const QImage picture = noise(QSize(301, 203), 7);
    const QImage block = noise(QSize(45, 30), 8);
    for (const QPoint at : {QPoint(0, 0), QPoint(101, 77), QPoint(256, 173)}) {
        auto source = PicturePyramid::build(picture);
        QImage replaced;
        const auto patched = PicturePyramid::patched(source, at, block, &replaced);
        ASSERT_TRUE(patched);
        QImage changed = picture.copy();
        for (int y = 0; y < block.height(); ++y) {
            for (int x = 0; x < block.width(); ++x) {
                changed.setPixel(at.x() + x, at.y() + y, block.pixel(x, y));
            }
        }
        const auto built = PicturePyramid::build(changed);
        ASSERT_EQ(patched->levelCount(), built->levelCount());
        for (int level = 0; level < built->levelCount(); ++level) {
            EXPECT_EQ(patched->level(level), built->level(level)) << "level " << level;
        }
        EXPECT_EQ(replaced, picture.copy(QRect(at, block.size())));
    }
}

} // namespace
} // namespace portiqa
