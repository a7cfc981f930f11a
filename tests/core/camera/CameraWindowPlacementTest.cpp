// Where the camera window goes on the screen.

#include "core/camera/CameraWindowSizing.h"

#include <gtest/gtest.h>

using namespace portiqa;

// A window that would reach past the screen moves inside its free area, so 拍 照 (bottom right)
// can be reached; one that fits stays where it was wanted.
TEST(CameraWindowPlacement, AWindowReachingPastTheScreenMovesInside) {
    const QRect screen(0, 0, 1600, 1160); // a 1600 x 1200 screen less a 40-px panel
    struct Case {
        QPoint wanted;
        QSize frame;
        QPoint expected;
    } cases[] = {
        {{300, 200}, {583, 433}, {300, 200}},  // fits
        {{600, 260}, {1224, 687}, {376, 260}}, // 16:9 camera, 390 x 567 output: moved left
        {{600, 700}, {700, 600}, {600, 560}},  // moved up
        {{100, 100}, {1800, 1300}, {0, 0}},    // larger than the screen: its top left
    };
    for (const Case& c : cases) {
        EXPECT_EQ(camerasizing::placeInside(c.wanted, c.frame, screen), c.expected)
            << c.wanted.x() << "," << c.wanted.y();
    }
    EXPECT_EQ(camerasizing::placeInside({5, 5}, {10, 10}, QRect()), QPoint(5, 5));
}
