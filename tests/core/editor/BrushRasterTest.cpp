#include "core/editor/BrushRaster.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kInk = 0xFF102030;

QImage blank() {
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

// The rectangle spanned by the inked pixels, or a null rect.
QRect inkedBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == kInk) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

struct BoxCase {
    int width;
    QRect box; // for the point (10, 10)
};

// Odd widths centre on the pixel; even widths reach one pixel less to the right and bottom.
TEST(BrushRaster, DiscFillsExactlyTheBrushBox) {
    const BoxCase cases[] = {
        {5, QRect(QPoint(8, 8), QPoint(12, 12))},  {4, QRect(QPoint(8, 8), QPoint(11, 11))},
        {2, QRect(QPoint(9, 9), QPoint(10, 10))},  {7, QRect(QPoint(7, 7), QPoint(13, 13))},
        {20, QRect(QPoint(0, 0), QPoint(19, 19))},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(BrushRaster::brushBox(QPoint(10, 10), c.width), c.box);
        QImage image = blank();
        BrushRaster::paintDisc(image, QPoint(10, 10), c.width, kInk);
        EXPECT_EQ(inkedBounds(image), c.box); // exactly w pixels across
        // Round, not square: the box's corners stay clear from width 4 on.
        if (c.width >= 4) {
            EXPECT_EQ(image.pixel(c.box.topLeft()), kWhite);
            EXPECT_EQ(image.pixel(c.box.bottomRight()), kWhite);
        }
    }
}

TEST(BrushRaster, WidthOneLeavesNoDiscOrOutline) {
    QImage image = blank();
    BrushRaster::paintDisc(image, QPoint(10, 10), 1, kInk);
    BrushRaster::paintOutline(image, QPoint(10, 10), 1, kInk);
    EXPECT_TRUE(inkedBounds(image).isNull());
}

TEST(BrushRaster, OutlineIsTheHollowRimOfTheDisc) {
    QImage image = blank();
    BrushRaster::paintOutline(image, QPoint(10, 10), 7, kInk);
    EXPECT_EQ(inkedBounds(image), QRect(QPoint(7, 7), QPoint(13, 13)));
    EXPECT_EQ(image.pixel(10, 10), kWhite);
    EXPECT_EQ(image.pixel(7, 10), kInk);
    EXPECT_EQ(image.pixel(13, 10), kInk);
}

TEST(BrushRaster, StrokeJoinsTheDiscsOfItsEnds) {
    QImage image = blank();
    BrushRaster::paintStroke(image, QPoint(4, 10), QPoint(18, 10), 5, kInk);
    EXPECT_EQ(inkedBounds(image), QRect(QPoint(2, 8), QPoint(20, 12)));
    for (int x = 4; x <= 18; ++x) {
        EXPECT_EQ(image.pixel(x, 8), kInk) << x;
        EXPECT_EQ(image.pixel(x, 12), kInk) << x;
    }
    // A one-pixel stroke includes both ends and nothing beside the line.
    QImage thin = blank();
    BrushRaster::paintStroke(thin, QPoint(2, 3), QPoint(9, 3), 1, kInk);
    EXPECT_EQ(inkedBounds(thin), QRect(QPoint(2, 3), QPoint(9, 3)));
}

TEST(BrushRaster, DrawingIsClippedAtTheEdges) {
    QImage image = blank();
    BrushRaster::paintDisc(image, QPoint(0, 0), 9, kInk);
    BrushRaster::paintStroke(image, QPoint(-50, 30), QPoint(60, -8), 20, kInk);
    EXPECT_EQ(image.pixel(0, 0), kInk);
    EXPECT_EQ(image.size(), QSize(24, 24));
}

} // namespace
} // namespace portiqa
