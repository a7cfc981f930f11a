#include "core/face/FramingPlacement.h"
#include "core/workspace/PhotoWorkspace.h"

#include "../workspace/TestPictures.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

struct PlacementCase {
    const char* name;
    QSize picture;
    double zoom;
    QPoint frameOnZoomed;
    QPoint frameBefore;
    QPoint frameAfter; // where the frame must end up in the picture area
};

class FramingPlacementTable : public ::testing::TestWithParam<PlacementCase> {};

// Whatever the place, the frame must cover exactly the asked block of the zoomed picture, so
// the save takes what the framing chose; and the frame stays put when scrolling can do it.
TEST_P(FramingPlacementTable, FrameCoversTheChosenBlock) {
    const PlacementCase& c = GetParam();
    PhotoWorkspace workspace;
    ASSERT_TRUE(
        workspace.showNewPicture(test::patternPicture(c.picture.width(), c.picture.height())));
    workspace.setFrameSize(QSize(100, 120));
    workspace.moveFrameTo(c.frameBefore);

    FaceFraming framing;
    framing.zoom = c.zoom;
    framing.frameOnZoomed = c.frameOnZoomed;
    FramingPlacement::View view{c.picture,
                                workspace.areaSize(),
                                workspace.frame().size(),
                                workspace.frame().topLeft(),
                                workspace.scrollFractionX(),
                                workspace.scrollFractionY()};
    const WorkspaceFraming placed = FramingPlacement::place(framing, view);
    ASSERT_TRUE(workspace.showFraming(placed.zoom, placed.fractionX, placed.fractionY,
                                      placed.frameTopLeft));

    EXPECT_EQ(workspace.zoom(), c.zoom);
    EXPECT_EQ(workspace.frame().topLeft(), c.frameAfter);
    const QPoint onZoomed =
        workspace.frame().topLeft() - workspace.offset() + workspace.scrollPosition();
    EXPECT_EQ(onZoomed, c.frameOnZoomed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FramingPlacementTable,
    ::testing::Values(
        // Area 411 x 279. Zoomed 1600 x 1200: both directions scroll, the frame stays.
        PlacementCase{"ScrollsUnderTheFrame", {800, 600}, 2.0, {700, 500}, {150, 80}, {150, 80}},
        // Zoomed 240 x 180 fits: the picture sits at the centring offsets, the frame moves.
        PlacementCase{"SmallPictureMovesTheFrame", {400, 300}, 0.6, {60, 30}, {150, 80}, {145, 79}},
        // Near the zoomed picture's far corner the scroll ends; the frame moves the rest.
        PlacementCase{
            "ScrollEndMovesTheFrame", {800, 600}, 2.0, {1490, 1070}, {150, 80}, {301, 149}},
        // Near its start the scroll cannot go below 1.
        PlacementCase{"ScrollStartMovesTheFrame", {800, 600}, 2.0, {0, 0}, {150, 80}, {-1, -1}},
        // A frame left outside the area is brought back inside it first.
        PlacementCase{
            "FrameOutsideTheAreaComesBack", {800, 600}, 2.0, {700, 500}, {-300, 500}, {0, 159}}),
    [](const ::testing::TestParamInfo<PlacementCase>& tested) {
        return std::string(tested.param.name);
    });

TEST(FramingPlacement, NoPictureOrNoFaceChangesNothing) {
    PhotoWorkspace empty;
    DetectedFace face;
    face.box = QRectF(0, 0, 50, 50);
    EXPECT_FALSE(FramingPlacement::apply(empty, {face}));

    PhotoWorkspace workspace;
    ASSERT_TRUE(workspace.showNewPicture(test::patternPicture(800, 600)));
    const double zoom = workspace.zoom();
    const QPoint frame = workspace.frame().topLeft();
    const QImage view = workspace.view();
    EXPECT_FALSE(FramingPlacement::apply(workspace, {}));
    EXPECT_EQ(workspace.zoom(), zoom);
    EXPECT_EQ(workspace.frame().topLeft(), frame);
    EXPECT_TRUE(workspace.view() == view);
}

} // namespace
} // namespace portiqa
