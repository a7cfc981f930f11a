// The soft edge's compositing: the old wall's share of an edge pixel is taken out before the
// new colour is mixed in, and what is left never passes the person's own colour.

#include "core/background/EdgeComposite.h"

#include <QImage>

#include <gtest/gtest.h>

namespace portiqa::background {
namespace {

TEST(EdgeComposite, TheWallIsTakenOutOfAnEdgePixelButNotPastThePersonsColour) {
    // One edge pixel, seen at grey 60, between a wall at grey 20 and a person at grey 90
    // deeper in: it is 4/7 person.
    QImage seen(3, 1, QImage::Format_RGB32);
    seen.fill(qRgb(20, 20, 20));
    seen.setPixel(1, 0, qRgb(60, 60, 60));
    const cv::Mat personColour(1, 3, CV_32FC3, cv::Scalar::all(90));
    const QRgb white = qRgb(255, 255, 255);

    struct Case {
        float share; // the person's share the separation gave the edge pixel
        double own;  // the person's own colour there once the wall is taken out
    } cases[] = {
        {4.0f / 7, 90},
        // Taken too small, the wall's share alone would leave (60 - 0.7 * 20) / 0.3 = 153: a
        // light rim round a dark person on a dark wall. It stays within 10 of what is seen
        // and of the person's colour deeper in.
        {0.3f, 100},
    };
    for (const Case& c : cases) {
        const cv::Mat alpha = (cv::Mat_<float>(1, 3) << 0.0f, c.share, 1.0f);
        const WallAround around = wallAround(cv::Mat(1, 3, CV_8UC3, cv::Scalar::all(20)), alpha);
        QImage shares;
        const QImage out = composite(seen, alpha, around, personColour, white, shares);
        EXPECT_EQ(out.pixel(0, 0), white | 0xff000000u);
        EXPECT_EQ(out.pixel(2, 0), seen.pixel(2, 0));
        EXPECT_NEAR(qRed(out.pixel(1, 0)), c.share * c.own + (1 - c.share) * 255, 1) << c.share;
    }
}

} // namespace
} // namespace portiqa::background
