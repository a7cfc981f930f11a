#include "core/editor/EditHistory.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

// A whole-picture step of a plain picture of `colour`.
EditStep wholeStep(int side, QRgb colour, double zoom = 1.0) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(colour);
    EditStep step;
    step.state.picture = PicturePyramid::build(image);
    step.state.pictureSize = image.size();
    step.state.loaded = true;
    step.state.zoom = zoom;
    return step;
}

QRgb colourOf(const EditStep& step) {
    return step.wholePicture() ? step.state.picture->base().pixel(0, 0) : step.pixels.pixel(0, 0);
}

// What the workspace does with a step, reduced to a "current picture" of one colour: the step
// goes in, and what it replaced comes back in it.
struct FakeCurrent {
    EditStep current;
    bool fail = false;
    EditHistory::Apply apply() {
        return [this](EditStep& step) {
            if (fail) {
                return false;
            }
            std::swap(step, current);
            return true;
        };
    }
};

TEST(EditHistory, UndoAndRedoWalkTheStepsAndANewEditForgetsTheRedo) {
    EditHistory history;
    FakeCurrent picture{wholeStep(8, 0xFF0000CC)};
    history.recordEdit(wholeStep(8, 0xFF0000AA, 0.5)); // a -> b
    history.recordEdit(wholeStep(8, 0xFF0000BB));      // b -> c
    history.recordEdit(EditStep());                    // nothing changed: no step

    ASSERT_TRUE(history.undo(picture.apply()));
    EXPECT_EQ(colourOf(picture.current), 0xFF0000BBu);
    ASSERT_TRUE(history.undo(picture.apply()));
    EXPECT_EQ(colourOf(picture.current), 0xFF0000AAu);
    EXPECT_DOUBLE_EQ(picture.current.state.zoom, 0.5);
    EXPECT_FALSE(history.undo(picture.apply()));

    picture.fail = true; // a step that cannot be applied stays where it was
    EXPECT_FALSE(history.redo(picture.apply()));
    EXPECT_EQ(history.redoLevels(), 2);
    picture.fail = false;
    ASSERT_TRUE(history.redo(picture.apply()));
    EXPECT_EQ(colourOf(picture.current), 0xFF0000BBu);
    history.recordEdit(wholeStep(8, 0xFF0000DD)); // a new edit after an undo
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoLevels(), 2);
    history.clear();
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.keptBytes(), 0);
}

TEST(EditHistory, CapDropsTheOldestStepsAndAStepPastItForgetsAll) {
    const qint64 one = wholeStep(64, 0xFF000000).bytes();
    EditHistory history(one * 2 + one / 2); // room for two steps
    for (QRgb colour : {0xFF000001u, 0xFF000002u, 0xFF000003u}) {
        history.recordEdit(wholeStep(64, colour));
    }
    EXPECT_EQ(history.undoLevels(), 2);
    EXPECT_LE(history.keptBytes(), history.capBytes());
    FakeCurrent picture{wholeStep(64, 0xFF000004)};
    ASSERT_TRUE(history.undo(picture.apply()));
    ASSERT_TRUE(history.undo(picture.apply()));
    EXPECT_EQ(colourOf(picture.current), 0xFF000002u); // the first step was dropped

    // Undo and redo move steps without dropping any, even when the sides then hold more
    // than the cap (the memory was in use before the undo already).
    FakeCurrent large{wholeStep(128, 0xFF000005)};
    EditHistory moves(one * 2);
    moves.recordEdit(wholeStep(64, 0xFF000006));
    ASSERT_TRUE(moves.undo(large.apply()));
    EXPECT_GT(moves.keptBytes(), moves.capBytes());
    ASSERT_TRUE(moves.redo(large.apply()));
    EXPECT_EQ(colourOf(large.current), 0xFF000005u);

    // A step larger than the whole cap is not kept, and the steps before it are forgotten.
    EXPECT_FALSE(history.canKeep(one * 3));
    history.recordEdit(wholeStep(128, 0xFF000007));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

} // namespace
} // namespace portiqa
