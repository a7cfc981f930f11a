#include "core/face/FramingRule.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/WorkspaceGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace portiqa {
namespace {

// A face with both eyes found, the eyes level at `eyeY`, `eyeGap` apart, centred at `centreX`.
DetectedFace faceAt(double centreX, double eyeY, double side, double eyeGap) {
    DetectedFace face;
    face.box = QRectF(centreX - side / 2, eyeY - 0.39 * side, side, side);
    face.eyesFound = true;
    face.leftEye = QPointF(centreX - eyeGap / 2, eyeY);
    face.rightEye = QPointF(centreX + eyeGap / 2, eyeY);
    return face;
}

DetectedFace boxOnly(double x, double y, double side) {
    DetectedFace face;
    face.box = QRectF(x, y, side, side);
    return face;
}

// The same face with the top of its hair found `above` x the face's width over the eye line.
DetectedFace withTop(DetectedFace face, double above) {
    const HeadMeasures head = HeadEstimate::measure(face);
    face.topFound = true;
    face.topY = head.eyeLineY - above * head.faceWidth;
    return face;
}

enum class Expect {
    OnTarget,    // size and eye line within their ranges, the hair inside, centred, no band
    KeptInsideX, // the frame was held inside the picture horizontally (face off-centre)
    EyeLineKept, // the picture ends too close: the eye line held, the band said
    ZoomAtHigh,  // the zoom stopped at the upper bound
    NoFraming,
};

struct Case {
    const char* name;
    QSize picture;
    QSize output;
    DetectedFaces faces;
    Expect expect;
    int framedFace = 0; // which face must be the framed one
};

class FramingRuleTable : public ::testing::TestWithParam<Case> {};

TEST_P(FramingRuleTable, FramesTheHeadToTheStandard) {
    const Case& c = GetParam();
    const ZoomRange range = ZoomRange::forPicture(c.picture, PhotoWorkspace::MaxZoomedSide);
    const auto framing = FramingRule::frame(c.faces, c.picture, c.output, range);
    if (c.expect == Expect::NoFraming) {
        EXPECT_FALSE(framing.has_value());
        return;
    }
    ASSERT_TRUE(framing.has_value());
    EXPECT_GE(framing->zoom, range.low);
    EXPECT_LE(framing->zoom, range.high);

    const HeadMeasures head = HeadEstimate::measure(c.faces.at(size_t(c.framedFace)));
    const IdPhotoTarget target = IdPhotoTargets::forOutputSize(c.output);
    const int zw = WorkspaceGeometry::zoomedSide(c.picture.width(), framing->zoom);
    const int zh = WorkspaceGeometry::zoomedSide(c.picture.height(), framing->zoom);
    const double sx = double(zw) / c.picture.width();
    const double sy = double(zh) / c.picture.height();
    const QPoint f = framing->frameOnZoomed;
    const double w = c.output.width(), h = c.output.height();
    // The head as the saved photo shows it.
    const double centreInFrame = head.centreX * sx - f.x();
    const double eyeAboveBottom = h - (head.eyeLineY * sy - f.y());
    const double size = target.measure == IdPhotoTarget::Measure::FaceWidth
                            ? head.faceWidth * sx / w
                            : head.headHeight() * sy / h;

    const double topBelowEdge = head.crownY * sy - f.y();
    const bool inside = f.x() >= 0 && f.y() >= 0 && f.x() + w <= zw && f.y() + h <= zh;
    EXPECT_EQ(framing->band, !inside) << f.x() << "," << f.y() << " on " << zw << "x" << zh;
    const double eye = eyeAboveBottom / h;
    if (c.expect != Expect::ZoomAtHigh) {
        EXPECT_GE(size, target.sizeLow);
        EXPECT_LE(size, target.sizeHigh);
        EXPECT_GE(eye, target.eyeLineLow);
        EXPECT_LE(eye, target.eyeLineHigh);
    }

    switch (c.expect) {
    case Expect::OnTarget:
        EXPECT_FALSE(framing->zoomLimited);
        EXPECT_FALSE(framing->hairCut);
        EXPECT_FALSE(framing->band);
        EXPECT_GE(topBelowEdge, 0); // its margin may give way to the size and eye line
        EXPECT_LE(topBelowEdge / h, target.topHigh);
        EXPECT_NEAR(centreInFrame, w / 2, 1.0);
        break;
    case Expect::KeptInsideX:
        EXPECT_FALSE(framing->band);
        EXPECT_TRUE(f.x() == 0 || f.x() + int(w) == zw);
        EXPECT_GT(std::abs(centreInFrame - w / 2), 5.0);
        break;
    case Expect::EyeLineKept:
        EXPECT_TRUE(framing->band);
        EXPECT_NEAR(centreInFrame, w / 2, 1.0);
        break;
    case Expect::ZoomAtHigh:
        EXPECT_TRUE(framing->zoomLimited);
        EXPECT_DOUBLE_EQ(framing->zoom, range.high);
        EXPECT_LT(size, target.sizeLow);
        break;
    case Expect::NoFraming:
        break;
    }
}

const QSize kCard(358, 441);
const QSize kOneInch(295, 413);
const QSize kCustom(500, 500);

INSTANTIATE_TEST_SUITE_P(
    Cases, FramingRuleTable,
    ::testing::Values(
        Case{"CardCentred", {4000, 3000}, kCard, {faceAt(2000, 1300, 600, 250)}, Expect::OnTarget},
        Case{"OneInchCentred",
             {4000, 3000},
             kOneInch,
             {faceAt(1900, 1200, 500, 200)},
             Expect::OnTarget},
        Case{"CustomSizeUsesHeadHeight",
             {3000, 4000},
             kCustom,
             {faceAt(1500, 1500, 700, 300)},
             Expect::OnTarget},
        Case{"SmallPictureZoomsIn",
             {320, 240},
             kOneInch,
             {faceAt(160, 110, 60, 25)},
             Expect::OnTarget},
        Case{"NoEyesFallsBackToTheBox",
             {4000, 3000},
             kCard,
             {boxOnly(1700, 1000, 600)},
             Expect::OnTarget},
        Case{"NearTheLeftEdge",
             {4000, 3000},
             kOneInch,
             {faceAt(150, 1200, 250, 100)},
             Expect::KeptInsideX},
        Case{"NearTheRightEdge",
             {4000, 3000},
             kCard,
             {faceAt(3900, 1500, 250, 100)},
             Expect::KeptInsideX},
        Case{"NearTheTopEdge",
             {4000, 3000},
             kOneInch,
             {faceAt(2000, 60, 120, 50)},
             Expect::EyeLineKept},
        Case{"NearTheBottomEdge",
             {4000, 3000},
             kOneInch,
             {faceAt(2000, 2950, 120, 50)},
             Expect::EyeLineKept},
        Case{"TallHairStaysInsideTheCard",
             {4000, 3000},
             kCard,
             {withTop(faceAt(2000, 1300, 600, 250), 1.0)},
             Expect::OnTarget},
        Case{"TallHairStaysInsideTheHeadSizes",
             {4000, 3000},
             kOneInch,
             {withTop(faceAt(2000, 1300, 600, 250), 1.05)},
             Expect::OnTarget},
        Case{"FaceTooSmallForTheZoomBounds",
             {20000, 15000},
             kCard,
             {faceAt(10000, 7000, 40, 16)},
             Expect::ZoomAtHigh},
        Case{"NoFace", {4000, 3000}, kCard, {}, Expect::NoFraming},
        Case{"TwoFacesTakesTheLarger",
             {4000, 3000},
             kOneInch,
             {faceAt(800, 1200, 300, 120), faceAt(2600, 1300, 500, 200)},
             Expect::OnTarget,
             1}),
    [](const ::testing::TestParamInfo<Case>& tested) { return std::string(tested.param.name); });

// Hair that no range can fit is cut, never the eye line moved out of its range; the picture
// ending inside the hair is said alike.
TEST(FramingRule, HairTooTallIsCutAndSaid) {
    const QSize picture(4000, 3000);
    const ZoomRange range = ZoomRange::forPicture(picture, PhotoWorkspace::MaxZoomedSide);
    const DetectedFace face = withTop(faceAt(2000, 1300, 600, 250), 1.5);
    const auto framing = FramingRule::frame({face}, picture, kCard, range);
    ASSERT_TRUE(framing.has_value());
    EXPECT_TRUE(framing->hairCut);
    EXPECT_FALSE(framing->band);
    const HeadMeasures head = HeadEstimate::measure(face);
    const IdPhotoTarget target = IdPhotoTargets::forOutputSize(kCard);
    const double eyeAboveBottom =
        441 - (head.eyeLineY * framing->zoom - framing->frameOnZoomed.y());
    EXPECT_GE(eyeAboveBottom / 441, target.eyeLineLow);
    EXPECT_LT(eyeAboveBottom / 441, target.eyeLineAim()); // lowered to keep what hair it can

    DetectedFace cutByThePicture = withTop(faceAt(2000, 1300, 600, 250), 0.9);
    cutByThePicture.topAtPictureEdge = true;
    EXPECT_TRUE(FramingRule::frame({cutByThePicture}, picture, kCard, range)->hairCut);
}

TEST(IdPhotoTargets, CardUsesTheIdentityCardRangesAndEverythingElseTheHeadHeight) {
    const IdPhotoTarget card = IdPhotoTargets::forOutputSize({358, 441});
    EXPECT_EQ(card.measure, IdPhotoTarget::Measure::FaceWidth);
    EXPECT_NEAR(card.sizeAim() * 358, 207, 1e-9);
    EXPECT_GE(card.eyeLineLow * 441, 207 - 1e-9); // never below the card's minimum
    for (const QSize other : {QSize(295, 413), QSize(441, 358), QSize(160, 210)}) {
        const IdPhotoTarget t = IdPhotoTargets::forOutputSize(other);
        EXPECT_EQ(t.measure, IdPhotoTarget::Measure::HeadHeight);
        EXPECT_NEAR(t.sizeAim(), 0.75, 1e-9);
        EXPECT_NEAR(t.eyeLineAim(), 0.625, 1e-9);
    }
}

} // namespace
} // namespace portiqa
