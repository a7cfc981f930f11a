#include "core/face/AutoFramer.h"
#include "core/face/FaceDetector.h"
#include "core/workspace/PhotoWorkspace.h"
#include "support/PortraitLandmarks.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

// The whole head with its hair: measured with the portraits' landmarks and the tops of their
// hair read by hand (tests/fixtures/faces), never with what the program found.

const QSize kCard(358, 441);
const QSize kOneInch(295, 413);
const QSize kTwoInch(413, 626);

const QString kCutHint = QStringLiteral("头发顶部超出照片，已按眼睛位置截取");
const QString kBandHint = QStringLiteral("照片边缘不足，截图含空白边");

test::PortraitLandmarks landmarksOf(const QString& name) {
    for (const auto& l : test::readPortraitLandmarks(test::fixturePath(QStringLiteral("faces")))) {
        if (l.name == name) {
            return l;
        }
    }
    return {};
}

// astronaut_tight.jpg is astronaut_0.jpg's block (62, 14) 238 x 337 enlarged to 565 x 800
// (make_tight_crop.sh beside it); its landmarks are carried over the same way.
test::PortraitLandmarks tightCropLandmarks() {
    test::PortraitLandmarks l = landmarksOf(QStringLiteral("astronaut_0"));
    const double kx = 565.0 / 238;
    const double ky = 800.0 / 337;
    auto carry = [&](QPointF p) { return QPointF((p.x() - 62) * kx, (p.y() - 14) * ky); };
    l.name = QStringLiteral("astronaut_tight");
    l.leftEye = carry(l.leftEye);
    l.rightEye = carry(l.rightEye);
    l.chinY = (l.chinY - 14) * ky;
    l.topY = (l.topY - 14) * ky;
    l.faceWidth *= kx;
    return l;
}

// The picture framed by the command, as the window does it with `output` typed in.
struct FramedRig {
    FaceDetector detector;
    PhotoWorkspace workspace;
    test::ScriptedDialogs dialogs;
    QStringList hints;
    AutoFramer framer{workspace, detector, dialogs,
                      [this](const QString& text) { hints.append(text); }};

    test::CropMeasures frame(const test::PortraitLandmarks& l, QSize output) {
        workspace.setAreaSize(output + QSize(30, 30));
        workspace.setFrameSize(output);
        workspace.moveFrameTo(QPoint(15, 15));
        EXPECT_TRUE(workspace.showNewPicture(
            QImage(test::fixturePath(QStringLiteral("faces/") + l.name + QStringLiteral(".jpg")))));
        EXPECT_TRUE(framer.frameNow());
        return test::measureCrop(l, workspace);
    }
};

void expectWithinRanges(const test::CropMeasures& m, QSize output) {
    const IdPhotoTarget t = IdPhotoTargets::forOutputSize(output);
    const bool byWidth = t.measure == IdPhotoTarget::Measure::FaceWidth;
    const double size = byWidth ? m.faceWidth / output.width() : m.headHeight / output.height();
    EXPECT_GE(size, t.sizeLow);
    EXPECT_LE(size, t.sizeHigh);
    EXPECT_GE(m.eyeAboveBottom / output.height(), t.eyeLineLow);
    EXPECT_LE(m.eyeAboveBottom / output.height(), t.eyeLineHigh);
}

struct HairCase {
    const char* name;
    const char* portrait;
    QSize output;
};

class TallHair : public ::testing::TestWithParam<HairCase> {};

// Hair and caps standing above the skull stay inside the photo, the head (hair included)
// within its share of the height, and the status says the face was framed to the standard.
TEST_P(TallHair, StaysInsideThePhoto) {
    const HairCase& c = GetParam();
    const test::PortraitLandmarks l = landmarksOf(QString::fromLatin1(c.portrait));
    ASSERT_GE(l.topY, 0);
    FramedRig rig;
    const test::CropMeasures m = rig.frame(l, c.output);
    expectWithinRanges(m, c.output);
    EXPECT_GE(m.topBelowEdge, 0);
    EXPECT_FALSE(m.band);
    EXPECT_EQ(rig.hints.value(0), AutoFramer::framedHint());
}

INSTANTIATE_TEST_SUITE_P(Portraits, TallHair,
                         ::testing::Values(HairCase{"AstronautCard", "astronaut_0", kCard},
                                           HairCase{"AstronautOneInch", "astronaut_0", kOneInch},
                                           HairCase{"AstronautTwoInch", "astronaut_0", kTwoInch},
                                           HairCase{"HopperCapCard", "grace_hopper_0", kCard},
                                           HairCase{"HopperCapOneInch", "grace_hopper_0", kOneInch},
                                           HairCase{"HopperCapTwoInch", "grace_hopper_0",
                                                    kTwoInch}),
                         [](const ::testing::TestParamInfo<HairCase>& tested) {
                             return std::string(tested.param.name);
                         });

// Hair too tall for the card's ranges is cut, but only as much as they force: the eye line and
// the face's width go to the ends of their ranges that keep the most hair, and the status says so.
TEST(TallHair, HairTallerThanTheCardAllowsIsCutAtTheRangesEndsAndSaid) {
    const test::PortraitLandmarks l = landmarksOf(QStringLiteral("sample6_0"));
    FramedRig rig;
    const test::CropMeasures m = rig.frame(l, kCard);
    expectWithinRanges(m, kCard);
    EXPECT_LT(m.topBelowEdge, 0);
    EXPECT_LE(m.eyeAboveBottom, 236);
    EXPECT_LE(m.faceWidth, 199);
    EXPECT_EQ(rig.hints.value(0), kCutHint);
}

// A photo cropped close around the head: the ranges' room fills the frame with the picture, so
// no white band is saved; where one had to stay, the status would say so.
TEST(TightCrop, FillsTheFrameWithoutBandsAndKeepsTheHair) {
    const test::PortraitLandmarks l = tightCropLandmarks();
    for (const QSize output : {kCard, kOneInch, kTwoInch}) {
        SCOPED_TRACE(testing::Message() << output.width() << "x" << output.height());
        FramedRig rig;
        const test::CropMeasures m = rig.frame(l, output);
        expectWithinRanges(m, output);
        EXPECT_GE(m.topBelowEdge, 0);
        EXPECT_FALSE(m.band);
        EXPECT_EQ(rig.hints.value(0), AutoFramer::framedHint());
    }
}

} // namespace
} // namespace portiqa
