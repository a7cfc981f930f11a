#include "core/editor/EditHistory.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

EditHistory::State stateOf(int side, QRgb colour, double zoom) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(colour);
    EditHistory::State state;
    state.picture = PicturePyramid::build(image);
    state.pictureSize = image.size();
    state.loaded = true;
    state.zoom = zoom;
    return state;
}

QRgb colourOf(const EditHistory::State& state) {
    return state.picture->base().pixel(0, 0);
}

TEST(EditHistory, UndoAndRedoWalkTheLevelsAndANewEditForgetsTheRedo) {
    EditHistory history;
    const auto a = stateOf(8, 0xFF0000AA, 0.5);
    const auto b = stateOf(8, 0xFF0000BB, 1.0);
    const auto c = stateOf(8, 0xFF0000CC, 1.0);
    history.recordEdit(a); // a -> b
    history.recordEdit(b); // b -> c

    auto back = history.undo(c);
    ASSERT_TRUE(back);
    EXPECT_EQ(colourOf(*back), colourOf(b));
    back = history.undo(*back);
    ASSERT_TRUE(back);
    EXPECT_EQ(colourOf(*back), colourOf(a));
    EXPECT_DOUBLE_EQ(back->zoom, 0.5);
    EXPECT_FALSE(history.undo(*back));

    auto forward = history.redo(*back);
    ASSERT_TRUE(forward);
    EXPECT_EQ(colourOf(*forward), colourOf(b));
    history.recordEdit(*forward); // a new edit after an undo
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoLevels(), 2);
    history.clear();
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.keptBytes(), 0);
}

TEST(EditHistory, CapDropsTheOldestLevels) {
    const auto probe = stateOf(64, 0xFF000000, 1.0);
    const qint64 one = EditHistory::stateBytes(probe);
    EditHistory history(one * 2 + one / 2); // room for two levels
    for (QRgb colour : {0xFF000001u, 0xFF000002u, 0xFF000003u}) {
        history.recordEdit(stateOf(64, colour, 1.0));
    }
    EXPECT_EQ(history.undoLevels(), 2);
    EXPECT_LE(history.keptBytes(), history.capBytes());
    auto back = history.undo(stateOf(64, 0xFF000004, 1.0));
    ASSERT_TRUE(back);
    EXPECT_EQ(colourOf(*back), 0xFF000003u);
    back = history.undo(*back);
    ASSERT_TRUE(back);
    EXPECT_EQ(colourOf(*back), 0xFF000002u); // the first level was dropped
    EXPECT_LE(history.keptBytes(), history.capBytes());

    // A level larger than the whole cap is not kept.
    EditHistory tiny(one / 2);
    tiny.recordEdit(stateOf(64, 0xFF000001, 1.0));
    EXPECT_FALSE(tiny.canUndo());
}

} // namespace
} // namespace portiqa
