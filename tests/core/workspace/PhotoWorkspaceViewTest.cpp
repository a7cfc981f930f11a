#include "core/workspace/AreaResampler.h"
#include "core/workspace/PhotoWorkspace.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace portiqa {
namespace {

using test::isWhite;
using test::patternPicture;

// The composition must show exactly the pixels a full materialisation gives at that zoom.
void expectMatchesMaterialised(const PhotoWorkspace& workspace, const char* what) {
    const QImage full = AreaResampler::materialise(*workspace.pyramid(), workspace.zoomedSize());
    ASSERT_FALSE(full.isNull()) << what;
    const QImage expected = full.copy(QRect(workspace.scrollPosition(), workspace.visibleSize()));
    const QImage shown =
        workspace.composition().copy(QRect(workspace.offset(), workspace.visibleSize()));
    ASSERT_EQ(shown.size(), expected.size()) << what;
    EXPECT_TRUE(shown == expected) << what;
}

TEST(PhotoWorkspaceView, NarrowPictureIsCentredBetweenWhiteBands) {
    struct Case {
        int pictureWidth;
        int leftBand;
        int rightBand;
    };
    for (const Case c : {Case{311, 50, 50}, Case{310, 50, 51}, Case{410, 0, 1}, Case{411, 0, 0}}) {
        PhotoWorkspace workspace;
        ASSERT_TRUE(workspace.showNewPicture(patternPicture(c.pictureWidth, 100)));
        ASSERT_DOUBLE_EQ(workspace.zoom(), 1.0);
        const QImage& shown = workspace.composition();
        const int y = 139;
        for (int x = 0; x < c.leftBand; ++x) {
            EXPECT_TRUE(isWhite(shown, x, y)) << c.pictureWidth << " x=" << x;
        }
        EXPECT_EQ(shown.pixel(c.leftBand, y), workspace.picture().pixel(0, 139 - 89));
        for (int x = 411 - c.rightBand; x < 411; ++x) {
            EXPECT_TRUE(isWhite(shown, x, y)) << c.pictureWidth << " x=" << x;
        }
        EXPECT_FALSE(isWhite(shown, 410 - c.rightBand, y)) << c.pictureWidth;
        EXPECT_FALSE(workspace.horizontal().scrolls);
        EXPECT_EQ(workspace.offset().x(), c.leftBand);
    }
}

TEST(PhotoWorkspaceView, NewPictureShowsTheMiddleAndFarLeftSurvivesAZoom) {
    PhotoWorkspace workspace;
    ASSERT_TRUE(workspace.showNewPicture(patternPicture(1000, 700)));
    ASSERT_TRUE(workspace.setZoom(1.0));
    EXPECT_EQ(workspace.zoomedSize(), QSize(1000, 700));
    EXPECT_EQ(workspace.scrollPosition(), QPoint(294, 210));
    expectMatchesMaterialised(workspace, "middle");

    workspace.applyScroll(1, 210);
    EXPECT_DOUBLE_EQ(workspace.scrollFractionX(), 1.0 / 589);
    expectMatchesMaterialised(workspace, "far left");
    ASSERT_TRUE(workspace.zoomBy(1.02));
    // The fraction is 1/589, never 0, so the view stays at the left instead of the middle.
    EXPECT_EQ(workspace.scrollPosition().x(), 1);
    EXPECT_DOUBLE_EQ(workspace.scrollFractionX(), 1.0 / 589);
    expectMatchesMaterialised(workspace, "zoomed after far left");
}

TEST(PhotoWorkspaceView, VirtualRedrawEqualsFullMaterialisation) {
    struct Case {
        int width;
        int height;
        double zoom;
        double fractionX;
        double fractionY;
    };
    const Case cases[] = {
        {1001, 777, 0.137, 0.5, 0.5}, {1001, 777, 0.61, 0.3, 0.9},  {333, 257, 1.0, 0.2, 0.7},
        {333, 257, 1.77, 0.5, 0.5},   {333, 257, 3.13, 0.99, 0.01}, {2049, 1537, 0.21, 1.0, 1.0},
        {97, 613, 2.5, 0.4, 0.6},     {4097, 7, 0.3, 0.5, 0.5},
    };
    for (const Case& c : cases) {
        PhotoWorkspace workspace;
        ASSERT_TRUE(workspace.showNewPicture(patternPicture(c.width, c.height)));
        ASSERT_TRUE(workspace.setZoom(c.zoom));
        const QPoint scroll(static_cast<int>(workspace.horizontal().maximum * c.fractionX),
                            static_cast<int>(workspace.vertical().maximum * c.fractionY));
        workspace.applyScroll(scroll.x(), scroll.y());
        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) +
                                 " zoom " + std::to_string(c.zoom);
        expectMatchesMaterialised(workspace, what.c_str());
    }
}

TEST(PhotoWorkspaceView, ResamplerAveragesFootprintsExactly) {
    // Zoom 1 copies; zoom 0.5 of an even picture is the exact 2 x 2 mean.
    const QImage picture = patternPicture(64, 48);
    const auto pyramid = PicturePyramid::build(picture);
    ASSERT_TRUE(pyramid);
    EXPECT_TRUE(AreaResampler::materialise(*pyramid, {64, 48}) == picture);
    const QImage half = AreaResampler::materialise(*pyramid, {32, 24});
    for (const QPoint p : {QPoint(0, 0), QPoint(5, 7), QPoint(31, 23)}) {
        int sum = 0;
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                sum += qRed(picture.pixel(2 * p.x() + dx, 2 * p.y() + dy));
            }
        }
        EXPECT_NEAR(qRed(half.pixel(p)), sum / 4.0, 0.51);
    }
    // Odd sizes: every level halves with rounding up, down to 1 x 1.
    const auto odd = PicturePyramid::build(patternPicture(5, 3));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->level(1).size(), QSize(3, 2));
    EXPECT_EQ(odd->level(odd->levelCount() - 1).size(), QSize(1, 1));
}

TEST(PhotoWorkspaceView, EnlargingRepeatsPixelsAndAnyRegionMatchesTheWhole) {
    // Zoom 2 repeats each pixel as a 2 x 2 block; at a fractional zoom a region drawn on its
    // own (as the view draws it) has the pixels of the whole enlargement.
    const QImage picture = patternPicture(900, 700);
    const auto pyramid = PicturePyramid::build(picture);
    ASSERT_TRUE(pyramid);
    const QImage doubled = AreaResampler::materialise(*pyramid, {1800, 1400});
    for (const QPoint p : {QPoint(0, 0), QPoint(451, 302), QPoint(899, 699)}) {
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
            EXPECT_EQ(doubled.pixel(2 * p + d), picture.pixel(p));
        }
    }
    const QSize zoomed(1233, 959);
    const QImage whole = AreaResampler::materialise(*pyramid, zoomed);
    for (const QRect region : {QRect(0, 0, 300, 200), QRect(517, 333, 411, 275)}) {
        QImage part(region.size(), QImage::Format_RGB32);
        AreaResampler::drawRegion(*pyramid, zoomed, region, part, QPoint(0, 0));
        EXPECT_TRUE(part == whole.copy(region));
    }
}

TEST(PhotoWorkspaceView, AlphaIsBlendedOverWhite) {
    QImage transparent(20, 20, QImage::Format_ARGB32);
    transparent.fill(qRgba(0, 0, 0, 0));
    transparent.setPixel(0, 0, qRgba(0, 0, 0, 128));
    PhotoWorkspace workspace;
    ASSERT_TRUE(workspace.showNewPicture(transparent));
    EXPECT_EQ(workspace.picture().pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(qRed(workspace.picture().pixel(0, 0)), 127);
}

TEST(PhotoWorkspaceView, CommitAtHalfZoomHalvesThePictureAndKeepsTheView) {
    PhotoWorkspace workspace;
    ASSERT_TRUE(workspace.showNewPicture(patternPicture(400, 300)));
    ASSERT_TRUE(workspace.setZoom(0.5));
    // Something drawn on the composition (as the editor does) goes into the picture.
    workspace.composition().setPixel(workspace.offset() + QPoint(3, 4), qRgb(1, 2, 3));
    workspace.recomposeView();
    const QImage before = workspace.view().copy();
    ASSERT_TRUE(workspace.commitEdits());
    EXPECT_EQ(workspace.picture().size(), QSize(200, 150));
    EXPECT_DOUBLE_EQ(workspace.zoom(), 1.0);
    EXPECT_TRUE(workspace.view() == before);
    EXPECT_EQ(workspace.picture().pixel(3, 4), qRgb(1, 2, 3));
}

TEST(PhotoWorkspaceView, ZoomOutsideTheBoundsIsRefusedAndChangesNothing) {
    PhotoWorkspace workspace;
    ASSERT_TRUE(workspace.showNewPicture(patternPicture(3000, 2000)));
    const double zoom = workspace.zoom();
    const QImage view = workspace.view().copy();
    EXPECT_FALSE(workspace.zoomByWheel(50)); // factor 0: no pixel left
    EXPECT_FALSE(workspace.zoomBy(-1.0));
    EXPECT_FALSE(workspace.setZoom(10.01)); // 30,030 pixels wide
    EXPECT_DOUBLE_EQ(workspace.zoom(), zoom);
    EXPECT_TRUE(workspace.view() == view);
    EXPECT_TRUE(workspace.setZoom(9.99)); // 29,970 wide: allowed, nothing materialised
    EXPECT_EQ(workspace.composition().size(), QSize(411, 279));
}

TEST(PhotoWorkspaceView, ZoomCommandFactors) {
    PhotoWorkspace workspace;
    EXPECT_FALSE(workspace.zoomIn()); // needs a picture
    ASSERT_TRUE(workspace.showNewPicture(patternPicture(100, 100)));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(workspace.zoomIn());
    }
    EXPECT_NEAR(workspace.zoom(), std::pow(1.02, 5), 1e-12);
    workspace.setZoom(1.0);
    workspace.zoomByWheel(1);
    EXPECT_NEAR(workspace.zoom(), 0.98, 1e-12);
    workspace.zoomByWheel(-3);
    EXPECT_NEAR(workspace.zoom(), 0.98 * 1.06, 1e-12); // linear in notches
}

TEST(PhotoWorkspaceView, QuarterTurnsKeepZoomFractionsAndFrame) {
    PhotoWorkspace workspace;
    const QImage original = patternPicture(300, 400);
    ASSERT_TRUE(workspace.showNewPicture(original));
    ASSERT_TRUE(workspace.setZoom(1.5));
    workspace.applyScroll(30, 200);
    const double zoom = workspace.zoom();
    const double fx = workspace.scrollFractionX();
    const QRect frame = workspace.frame().rect();

    ASSERT_TRUE(workspace.turnQuarter(true));
    EXPECT_EQ(workspace.picture().size(), QSize(400, 300));
    EXPECT_EQ(workspace.picture().pixel(399, 0), original.pixel(0, 0)); // top-left goes right
    EXPECT_DOUBLE_EQ(workspace.zoom(), zoom);
    EXPECT_DOUBLE_EQ(workspace.scrollFractionX(), fx);
    EXPECT_EQ(workspace.frame().rect(), frame);
    expectMatchesMaterialised(workspace, "turned");

    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(workspace.turnQuarter(true));
    }
    EXPECT_TRUE(workspace.picture() == original);
    ASSERT_TRUE(workspace.turnQuarter(false));
    EXPECT_EQ(workspace.picture().pixel(0, 299), original.pixel(0, 0));
}

TEST(PhotoWorkspaceView, NothingHappensWithoutAPicture) {
    PhotoWorkspace workspace;
    const QPoint frame = workspace.frame().topLeft();
    workspace.redrawWorkspace();
    workspace.stepFrame(1, 0);
    EXPECT_FALSE(workspace.turnQuarter(true));
    EXPECT_FALSE(workspace.commitEdits());
    EXPECT_FALSE(workspace.pressPointer(frame));
    EXPECT_EQ(workspace.frame().topLeft(), frame);
    EXPECT_TRUE(isWhite(workspace.view(), frame.x() - 1, frame.y() - 1)); // no outline yet
    // The keys change the number without a picture; the next picture chooses its own.
    EXPECT_TRUE(workspace.zoomBy(1.02));
    ASSERT_TRUE(workspace.showNewPicture(patternPicture(50, 50)));
    EXPECT_DOUBLE_EQ(workspace.zoom(), 1.0);
}

} // namespace
} // namespace portiqa

namespace portiqa {
namespace {

TEST(PhotoWorkspacePreview, PreviewKeepsTheFullLayoutAndUpgradeShowsTheFullPixels) {
    const QImage full = test::patternPicture(1600, 1200);
    PhotoWorkspace expected;
    ASSERT_TRUE(expected.showNewPicture(full));

    PhotoWorkspace workspace;
    const QImage preview = full.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    ASSERT_TRUE(workspace.showNewPicture(PicturePyramid::build(preview), true, full.size()));
    EXPECT_TRUE(workspace.showingPreview());
    EXPECT_DOUBLE_EQ(workspace.zoom(), expected.zoom());
    EXPECT_EQ(workspace.zoomedSize(), expected.zoomedSize());
    EXPECT_EQ(workspace.offset(), expected.offset());

    workspace.stepFrame(3, 0);
    ASSERT_TRUE(workspace.upgradePicture(PicturePyramid::build(full)));
    EXPECT_FALSE(workspace.showingPreview());
    EXPECT_DOUBLE_EQ(workspace.zoom(), expected.zoom());
    EXPECT_TRUE(workspace.composition() == expected.composition());
    EXPECT_FALSE(workspace.upgradePicture(nullptr));
}

} // namespace
} // namespace portiqa

namespace portiqa {
namespace {

TEST(PhotoWorkspaceView, WindowShrunkToNothingLeavesAnEmptyButWorkingView) {
    PhotoWorkspace workspace;
    ASSERT_TRUE(workspace.showNewPicture(test::patternPicture(300, 200)));
    workspace.setAreaSize(QSize(-20, 0));
    EXPECT_EQ(workspace.areaSize(), QSize(0, 0));
    EXPECT_TRUE(workspace.zoomBy(1.02));
    workspace.applyScroll(5, 5);
    workspace.stepFrame(1, 1);
    const QImage block = workspace.captureFramedImage();
    ASSERT_EQ(block.size(), workspace.frame().size());
    EXPECT_TRUE(test::isWhite(block, 0, 0));
    workspace.setAreaSize(QSize(411, 279));
    EXPECT_EQ(workspace.view().size(), QSize(411, 279));
    EXPECT_FALSE(test::isWhite(workspace.composition(), 205, 139));
}

} // namespace
} // namespace portiqa

namespace portiqa {
namespace {

TEST(PhotoWorkspaceView, StripThinnerThanAPixelWhenFittedStaysReachable) {
    PhotoWorkspace workspace;
    // Fitting 5000 x 1 would leave no row: the zoom is raised to show one.
    ASSERT_TRUE(workspace.showNewPicture(test::patternPicture(5000, 1)));
    EXPECT_EQ(workspace.zoomedSize(), QSize(5000, 1));
    EXPECT_TRUE(workspace.horizontal().scrolls);

    // 40000 x 1 cannot show a row within the side limit: it starts at the fitted zoom, and
    // zooming in (back toward the bounds) is allowed while zooming further out is not.
    ASSERT_TRUE(workspace.showNewPicture(test::patternPicture(40000, 1)));
    EXPECT_EQ(workspace.zoomedSize(), QSize(411, 0));
    EXPECT_FALSE(workspace.zoomOut());
    EXPECT_TRUE(workspace.zoomIn());
    EXPECT_EQ(workspace.zoomedSize().width(), 419);
}

} // namespace
} // namespace portiqa
