// The camera window's size rules and the quick-shoot frame rules, with the worked examples.

#include "core/camera/CameraWindowSizing.h"
#include "core/camera/QuickFrame.h"
#include "core/camera/QuickFrameMover.h"

#include <gtest/gtest.h>

using namespace portiqa;
namespace cs = portiqa::camerasizing;

namespace {

struct SizingCase {
    const char* what;
    QRect got;
    QRect expected;
};

QRect sized(QSize size) {
    return QRect(QPoint(0, 0), size);
}

} // namespace

TEST(CameraSizing, WorkedExamples) {
    const SizingCase cases[] = {
        // Opening: the default output fits the design preview.
        {"160 x 210 at 4:3", sized(cs::initialPreview({160, 210}, 0.75)), sized({412, 309})},
        {"600 x 400 at 4:3 (472.5 truncated)", sized(cs::initialPreview({600, 400}, 0.75)),
         sized({630, 472})},
        {"tall output on 16:9 keeps the 309 minimum", sized(cs::initialPreview({160, 210}, 0.5625)),
         sized({549, 309})},
        {"tall output above the minimum", sized(cs::initialPreview({358, 441}, 0.75)),
         sized({628, 471})},
        {"design window", sized(cs::windowSizeFor({412, 309})), sized({575, 399})},
        // The operator drags one edge: that side decides, the other follows the ratio.
        {"bottom edge", sized(cs::relayoutPreview({575, 450}, {575, 399}, 0.75)),
         sized({480, 360})},
        {"right edge", sized(cs::relayoutPreview({700, 399}, {575, 399}, 0.75)), sized({537, 402})},
        {"800-pixel-wide preview", sized(cs::relayoutPreview({963, 399}, {575, 399}, 0.75)),
         sized({800, 600})},
        // The output edits grow the preview when the new side no longer fits.
        {"width edit to 600", sized(cs::previewAfterOutputEdit(true, {600, 210}, {575, 399}, 0.75)),
         sized({630, 472})},
        {"height edit to 500",
         sized(cs::previewAfterOutputEdit(false, {160, 500}, {575, 399}, 0.75)), sized({706, 530})},
        {"edit back to a small size returns to the minimum",
         sized(cs::previewAfterOutputEdit(true, {160, 210}, {793, 562}, 0.75)), sized({412, 309})},
        // The quick-shoot frame centred on the preview.
        {"295 x 413 on 640 x 480 at 10, 16",
         QRect(quickframe::centred({10, 16, 640, 480}, {295, 413}), QSize(295, 413)),
         QRect(182, 49, 295, 413)},
        {"frame larger than the preview",
         QRect(quickframe::centred({10, 16, 412, 309}, {600, 400}), QSize(600, 400)),
         QRect(-84, -29, 600, 400)},
    };
    for (const SizingCase& c : cases) {
        EXPECT_EQ(c.got, c.expected) << c.what;
    }
}

TEST(CameraSizing, DesignLayoutAndItsGrowth) {
    const cs::CameraLayout design = cs::cameraLayout({412, 309});
    EXPECT_EQ(design.groupBox, QRect(4, 4, 434, 336));
    EXPECT_EQ(design.preview, QRect(10, 16, 412, 309));
    EXPECT_EQ(design.deviceButton, QRect(445, 11, 116, 24));
    EXPECT_EQ(design.formatButton, QRect(445, 39, 116, 24));
    EXPECT_EQ(design.quickSettingsButton, QRect(445, 67, 116, 24));
    EXPECT_EQ(design.shootButton, QRect(445, 280, 116, 78));
    EXPECT_EQ(design.quickCheckBox, QRect(7, 343, 137, 20));
    // F = 503, G = (280 + 91) / 2 = 185.
    EXPECT_EQ(design.moveLeft.topLeft(), QPoint(457, 171));
    EXPECT_EQ(design.moveRight.topLeft(), QPoint(517, 171));
    EXPECT_EQ(design.moveUp.topLeft(), QPoint(489, 139));
    EXPECT_EQ(design.moveDown.topLeft(), QPoint(489, 199));
    // Every control stays inside the client area.
    const QRect client(QPoint(0, 0), design.client);
    for (const QRect& r : {design.groupBox, design.shootButton, design.quickCheckBox}) {
        EXPECT_TRUE(client.contains(r)) << r.x() << "," << r.y();
    }

    const cs::CameraLayout grown = cs::cameraLayout({800, 600});
    EXPECT_EQ(grown.groupBox.size(), QSize(822, 627));
    EXPECT_EQ(grown.shootButton.topLeft(), QPoint(833, 571));
    EXPECT_EQ(grown.quickCheckBox.top(), 634);
}

TEST(CameraSizing, BrokenRatiosAndTinyWindowsStayUsable) {
    EXPECT_EQ(cs::initialPreview({160, 210}, 0), QSize(412, 309));
    EXPECT_EQ(cs::relayoutPreview({100, 50}, {575, 399}, 0.75), QSize(1, 1));
}

TEST(CameraSizing, AWindowPastTheScreenIsMovedInside) {
    // A 16:9 camera with output 390 x 567: the preview is 1061 x 597, the window 1216 x 653
    // inside its frame (1224 x 687 with it).
    const QSize wide = cs::windowSizeFor(cs::initialPreview({390, 567}, 0.5625));
    ASSERT_EQ(wide, QSize(1224, 687));
    const QRect screen(0, 0, 1600, 1170); // 1600 x 1200 less a 30-pixel panel
    struct Case {
        const char* what;
        QRect window;
        QRect available;
        QPoint expected;
    };
    const Case cases[] = {
        {"main window at 500: 拍 照 would be past the right edge",
         QRect({600, 160}, wide),
         screen,
         {376, 160}},
        {"a window that fits stays", QRect({100, 160}, wide), screen, {100, 160}},
        {"past the bottom", QRect({100, 700}, wide), screen, {100, 483}},
        {"left of and above the area", QRect({-50, -20}, wide), QRect(0, 30, 1600, 1170), {0, 30}},
        {"larger than the area: its top-left corner",
         QRect({300, 200}, wide),
         QRect(0, 0, 1024, 600),
         {0, 0}},
        {"a second screen to the right",
         QRect({2900, 100}, wide),
         QRect(1600, 0, 1920, 1050),
         {2296, 100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cs::placedInside(c.window, c.available), c.expected) << c.what;
    }
}

TEST(QuickFrame, BarsCloseTheRectangleAroundThePanel) {
    const QuickFrameGeometry g = quickframe::geometry({182, 49}, {295, 413});
    EXPECT_EQ(g.panel, QRect(182, 49, 295, 413));
    EXPECT_EQ(g.leftBar, QRect(172, 39, 9, 424));
    EXPECT_EQ(g.topBar, QRect(172, 39, 306, 9));
    EXPECT_EQ(g.bottomBar, QRect(172, 463, 306, 9));
    EXPECT_EQ(g.rightBar, QRect(478, 39, 9, 433));
    // Together the bars close a rectangle one pixel clear of the panel: every pixel of the
    // ring is covered, and no bar covers the panel.
    const QRect outer = g.panel.adjusted(-10, -10, 10, 10);
    const QRect inner = g.panel.adjusted(-1, -1, 1, 1);
    for (int y = outer.top(); y <= outer.bottom(); ++y) {
        for (int x = outer.left(); x <= outer.right(); ++x) {
            const QPoint p(x, y);
            const bool covered = g.leftBar.contains(p) || g.topBar.contains(p) ||
                                 g.bottomBar.contains(p) || g.rightBar.contains(p);
            ASSERT_EQ(covered, !inner.contains(p)) << x << "," << y;
        }
    }
    for (const QRect& bar : {g.leftBar, g.topBar, g.bottomBar, g.rightBar}) {
        EXPECT_FALSE(bar.intersects(g.panel));
    }
}

TEST(QuickFrame, DragClamps) {
    struct Case {
        const char* what;
        QPoint proposed;
        QSize box;
        QSize output;
        QPoint expected;
    };
    const Case cases[] = {
        {"inside", {40, 30}, {434, 336}, {160, 210}, {40, 30}},
        {"past the left and top", {-50, 3}, {434, 336}, {160, 210}, {11, 17}},
        {"past the right and bottom", {900, 900}, {434, 336}, {160, 210}, {258, 114}},
        {"too large: the upper bound wins", {30, 30}, {434, 336}, {600, 400}, {-182, -76}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quickframe::clampedDrag(c.proposed, c.box, c.output), c.expected) << c.what;
    }
}

TEST(QuickFrame, ShotIsThePreviewUnderThePanelAtTheOutputSize) {
    QImage preview(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < preview.height(); ++y) {
        for (int x = 0; x < preview.width(); ++x) {
            preview.setPixel(x, y, qRgb(x * 6, y * 8, 77));
        }
    }
    const QRect previewRect(10, 16, 40, 30);
    const QImage inside = quickframe::shot(preview, previewRect, {15, 20, 8, 6}, Qt::gray);
    EXPECT_EQ(inside, preview.copy(5, 4, 8, 6));

    // A frame moved partly off the preview shows the window's background there.
    const QImage partly = quickframe::shot(preview, previewRect, {45, 10, 10, 10}, Qt::gray);
    ASSERT_EQ(partly.size(), QSize(10, 10));
    EXPECT_EQ(partly.pixel(0, 6), preview.pixel(35, 0));
    EXPECT_EQ(partly.pixel(0, 0), QColor(Qt::gray).rgb());
    EXPECT_EQ(partly.pixel(9, 9), QColor(Qt::gray).rgb());
    EXPECT_TRUE(quickframe::shot(preview, previewRect, {0, 0, 0, 5}, Qt::gray).isNull());
}

TEST(QuickFrameMover, OnePixelAtOnceThenOnePerTickFromTheTenth) {
    QuickFrameMover mover;
    EXPECT_EQ(mover.press(FrameDirection::Right), QPoint(1, 0));
    QPoint moved;
    for (int tick = 1; tick <= 9; ++tick) {
        moved += mover.tick();
    }
    EXPECT_EQ(moved, QPoint(0, 0));
    for (int tick = 10; tick <= 14; ++tick) {
        moved += mover.tick();
    }
    EXPECT_EQ(moved, QPoint(5, 0));
    mover.release();
    EXPECT_FALSE(mover.held());
    EXPECT_EQ(mover.tick(), QPoint(0, 0));

    // A short click moves exactly one pixel, in each direction.
    const std::pair<FrameDirection, QPoint> steps[] = {{FrameDirection::Up, {0, -1}},
                                                       {FrameDirection::Down, {0, 1}},
                                                       {FrameDirection::Left, {-1, 0}}};
    for (const auto& [direction, step] : steps) {
        EXPECT_EQ(mover.press(direction), step);
        mover.release();
        EXPECT_EQ(mover.tick(), QPoint(0, 0));
    }
}
