#include "core/workspace/FrameMover.h"
#include "core/workspace/PhotoWorkspace.h"
#include "support/ScriptedDialogs.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

using test::isWhite;
using test::patternPicture;

class CaptureFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(workspace.showNewPicture(patternPicture(800, 600)));
        workspace.setZoom(1.0);
        workspace.setFrameSize(QSize(20, 30));
        workspace.moveFrameTo(QPoint(100, 50));
    }
    PhotoWorkspace workspace;
    test::ScriptedDialogs dialogs;
};

TEST_F(CaptureFrameTest, OutlineLiesOnePixelOutsideTheBlock) {
    const QImage& view = workspace.view();
    const QRgb yellow = qRgb(255, 255, 0);
    const int l = 100, t = 50, w = 20, h = 30;
    // Lines at L-1, T-1 (touching) and L+W+1, T+H+1 (one pixel of picture between).
    for (const QPoint p : {QPoint(l - 1, t - 1), QPoint(l + w, t - 1), QPoint(l + w + 1, t - 1),
                           QPoint(l - 1, t + h), QPoint(l + w + 1, t + h), QPoint(l - 1, t + h + 1),
                           QPoint(l + w, t + h + 1), QPoint(l + 5, t - 1), QPoint(l - 1, t + 5)}) {
        EXPECT_EQ(view.pixel(p), yellow) << p.x() << "," << p.y();
    }
    // Each line stops short of its end point, so the far corner stays picture; so do the gap
    // column and row and the block itself.
    for (const QPoint p : {QPoint(l + w + 1, t + h + 1), QPoint(l + w, t + 5), QPoint(l + 5, t + h),
                           QPoint(l, t), QPoint(l + w - 1, t + h - 1), QPoint(l - 2, t - 1)}) {
        EXPECT_EQ(view.pixel(p), workspace.composition().pixel(p)) << p.x() << "," << p.y();
    }
    workspace.setFrameColour(QColor(0, 0, 255));
    EXPECT_EQ(workspace.view().pixel(l - 1, t - 1), qRgb(0, 0, 255));
}

TEST_F(CaptureFrameTest, CaptureIsTheCompositionBlockWithWhiteOutside) {
    const QImage block = workspace.captureFramedImage();
    ASSERT_EQ(block.size(), QSize(20, 30));
    EXPECT_TRUE(block == workspace.composition().copy(QRect(100, 50, 20, 30)));

    // Partly beyond the area's left edge: white there, picture inside.
    workspace.moveFrameTo(QPoint(-5, 10));
    const QImage edge = workspace.captureFramedImage();
    EXPECT_TRUE(isWhite(edge, 4, 0));
    EXPECT_EQ(edge.pixel(5, 0), workspace.composition().pixel(0, 10));

    // Over a white band of a small picture.
    ASSERT_TRUE(workspace.showNewPicture(patternPicture(100, 100)));
    workspace.moveFrameTo(QPoint(150, 80)); // picture spans x 155..254
    const QImage band = workspace.captureFramedImage();
    EXPECT_TRUE(isWhite(band, 4, 15));
    EXPECT_EQ(band.pixel(5, 15), workspace.picture().pixel(0, 80 + 15 - 89));

    workspace.setFrameSize(QSize(0, 30));
    EXPECT_TRUE(workspace.captureFramedImage().isNull());
}

TEST_F(CaptureFrameTest, PointerGrabsOnTheOutlineAndDragsByTheMove) {
    struct Case {
        QPoint press;
        bool grabs;
    };
    const int l = 100, t = 50, w = 20, h = 30;
    for (const Case c : {Case{{l - 1, t + 3}, true}, Case{{l + w + 1, t + 3}, true},
                         Case{{l + 5, t + h + 1}, true}, Case{{l + 5, t - 1}, true},
                         Case{{l + 5, t + 5}, true}, Case{{l - 2, t + 3}, false},
                         Case{{l + w + 2, t + 3}, false}, Case{{l + 5, t + h + 2}, false}}) {
        EXPECT_EQ(workspace.movePointer(c.press), c.grabs) << c.press.x() << "," << c.press.y();
        EXPECT_EQ(workspace.pressPointer(c.press), c.grabs) << c.press.x() << "," << c.press.y();
        workspace.releasePointer();
    }
    ASSERT_TRUE(workspace.pressPointer({l + 2, t + 2}));
    workspace.movePointer({l + 5, t + 1});
    workspace.movePointer({l + 9, t - 1});
    workspace.releasePointer();
    EXPECT_EQ(workspace.frame().topLeft(), QPoint(l + 7, t - 3));
    EXPECT_EQ(workspace.view().pixel(l + 6, t - 4), qRgb(255, 255, 0));
    // After the release a move only hovers.
    workspace.movePointer({l + 30, t + 30});
    EXPECT_EQ(workspace.frame().topLeft(), QPoint(l + 7, t - 3));
}

TEST_F(CaptureFrameTest, HeldButtonMovesOnceThenWaitsNineTicks) {
    FrameMover mover(workspace, dialogs);
    // A click: one pixel.
    ASSERT_TRUE(mover.press(FrameDirection::Right));
    for (int i = 0; i < 9; ++i) {
        mover.tick();
    }
    mover.release(FrameDirection::Right);
    EXPECT_EQ(workspace.frame().topLeft(), QPoint(101, 50));
    EXPECT_FALSE(mover.running());

    // A hold: one at the press, nothing for nine ticks, then one per tick.
    ASSERT_TRUE(mover.press(FrameDirection::Up));
    EXPECT_EQ(workspace.frame().topLeft(), QPoint(101, 49));
    for (int i = 0; i < 9; ++i) {
        mover.tick();
    }
    EXPECT_EQ(workspace.frame().topLeft(), QPoint(101, 49));
    for (int i = 0; i < 4; ++i) {
        mover.tick();
    }
    EXPECT_EQ(workspace.frame().topLeft(), QPoint(101, 45));
    mover.release(FrameDirection::Up);
    mover.tick();
    EXPECT_EQ(workspace.frame().topLeft(), QPoint(101, 45));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(CaptureFrameWithoutPicture, MoveButtonTellsTheOperatorAndDoesNotStart) {
    PhotoWorkspace workspace;
    test::ScriptedDialogs dialogs;
    FrameMover mover(workspace, dialogs);
    const QPoint before = workspace.frame().topLeft();
    EXPECT_FALSE(mover.press(FrameDirection::Left));
    EXPECT_FALSE(mover.running());
    EXPECT_EQ(workspace.frame().topLeft(), before);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。"));
}

} // namespace
} // namespace portiqa
