#include "core/workspace/WorkspaceGeometry.h"
#include "core/app/MainWindowLayout.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

struct AxisCase {
    const char* name;
    int area;
    int zoomed;
    double fraction;
    AxisLayout expected;
    double fractionAfter;
};

TEST(WorkspaceGeometry, LaysOutOneDirection) {
    const AxisCase cases[] = {
        {"equal sizes start at the left edge", 411, 411, 0.5, {false, 1, 0, 0, 411}, 0.5},
        {"100 narrower: 50 on both sides", 411, 311, 0.5, {false, 1, 0, 50, 311}, 0.5},
        {"101 narrower: 50 left, 51 right", 411, 310, 0.5, {false, 1, 0, 50, 310}, 0.5},
        {"one pixel below: no left band", 411, 410, 0.5, {false, 1, 0, 0, 410}, 0.5},
        {"larger: middle position", 411, 1000, 0.5, {true, 589, 294, 0, 411}, 0.5},
        {"fraction 0 means the middle", 411, 1000, 0.0, {true, 589, 294, 0, 411}, 0.5},
        {"tiny fraction stays, bar keeps 1", 411, 1000, 1e-4, {true, 589, 1, 0, 411}, 1e-4},
        {"far right", 411, 1000, 1.0, {true, 589, 589, 0, 411}, 1.0},
        {"one pixel larger", 279, 280, 0.5, {true, 1, 1, 0, 279}, 0.5},
    };
    for (const AxisCase& c : cases) {
        double fraction = c.fraction;
        const AxisLayout axis = WorkspaceGeometry::layoutAxis(c.area, c.zoomed, fraction);
        EXPECT_EQ(axis, c.expected) << c.name;
        EXPECT_DOUBLE_EQ(fraction, c.fractionAfter) << c.name;
    }
}

TEST(WorkspaceGeometry, FitZoomLetsTheProportionallyWiderSideDecide) {
    const QSize area(411, 279);
    EXPECT_DOUBLE_EQ(WorkspaceGeometry::fitZoom({3000, 2000}, area), 411.0 / 3000);
    EXPECT_DOUBLE_EQ(WorkspaceGeometry::fitZoom({100, 100}, area), 1.0);
    EXPECT_DOUBLE_EQ(WorkspaceGeometry::fitZoom({2000, 3000}, area), 279.0 / 3000);
    // Wider in proportion but not larger: never enlarged.
    EXPECT_DOUBLE_EQ(WorkspaceGeometry::fitZoom({400, 100}, area), 1.0);
    // Same proportion as the area: the widths decide.
    EXPECT_DOUBLE_EQ(WorkspaceGeometry::fitZoom({822, 558}, area), 0.5);
}

TEST(MainWindowLayout, DesignSizeGivesDesignGeometry) {
    const MainWindowLayout layout = computeMainWindowLayout(594, 414);
    EXPECT_EQ(layout.pictureArea, QRect(4, 48, 411, 279));
    EXPECT_EQ(layout.horizontalBar, QRect(4, 328, 411, 12));
    EXPECT_EQ(layout.verticalBar, QRect(416, 48, 12, 279));
    EXPECT_EQ(layout.settingsGroup, QRect(432, 48, 152, 292));
    EXPECT_EQ(layout.hintPanelWidth, 432);
    // floor(411 / 2) - floor(160 / 2), floor(279 / 2) - floor(210 / 2)
    EXPECT_EQ(centredFramePosition(layout.pictureArea.size(), QSize(160, 210)), QPoint(125, 34));
}

TEST(MainWindowLayout, FrameIsCentredWithFloors) {
    // A 358 x 441 frame after the window grew the area to 471 high.
    EXPECT_EQ(centredFramePosition(QSize(411, 471), QSize(358, 441)), QPoint(205 - 179, 235 - 220));
    // A frame larger than the area gets a negative corner; halves of odd sizes floor.
    EXPECT_EQ(centredFramePosition(QSize(11, 10), QSize(15, 13)), QPoint(-2, -1));
    EXPECT_EQ(centredFramePosition(QSize(-3, 0), QSize(2, 2)), QPoint(-3, -1));
}

} // namespace
} // namespace portiqa
