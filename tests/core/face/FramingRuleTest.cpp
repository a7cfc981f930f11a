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

enum class Expect {
    OnTarget,    // head size, eye line and centring all within the output size's ranges
    KeptInsideX, // the frame was held inside the picture horizontally (face off-centre)
    KeptInsideY, // the same vertically
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

    const bool insideX = zw < c.output.width() || (f.x() >= 0 && f.x() + w <= zw);
    const bool insideY = zh < c.output.height() || (f.y() >= 0 && f.y() + h <= zh);
    EXPECT_TRUE(insideX && insideY) << f.x() << "," << f.y() << " on " << zw << "x" << zh;

    switch (c.expect) {
    case Expect::OnTarget:
        EXPECT_FALSE(framing->zoomLimited);
        EXPECT_NEAR(size, target.sizeAim(), 0.005);
        EXPECT_NEAR(eyeAboveBottom / h, target.eyeLineAim(), 1.5 / h);
        EXPECT_NEAR(centreInFrame, w / 2, 1.0);
        break;
    case Expect::KeptInsideX:
        EXPECT_NEAR(size, target.sizeAim(), 0.005);
        EXPECT_TRUE(f.x() == 0 || f.x() + int(w) == zw);
        EXPECT_GT(std::abs(centreInFrame - w / 2), 5.0);
        EXPECT_NEAR(eyeAboveBottom / h, target.eyeLineAim(), 1.5 / h);
        break;
    case Expect::KeptInsideY:
        EXPECT_TRUE(f.y() == 0 || f.y() + int(h) == zh);
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
             Expect::KeptInsideY},
        Case{"NearTheBottomEdge",
             {4000, 3000},
             kOneInch,
             {faceAt(2000, 2950, 120, 50)},
             Expect::KeptInsideY},
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
