#include "core/face/AutoFramer.h"
#include "core/face/FaceDetector.h"
#include "core/face/FaceFinder.h"
#include "core/face/FramingPlacement.h"
#include "core/workspace/PhotoWorkspace.h"
#include "support/PortraitLandmarks.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include "../workspace/TestPictures.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace portiqa {
namespace {

const QSize kCard(358, 441);

// The program's window grows its picture area to the card size + 30.
void prepareCardWorkspace(PhotoWorkspace& workspace) {
    workspace.setAreaSize(QSize(358 + 30, 441 + 30));
    workspace.setFrameSize(kCard);
    workspace.moveFrameTo(QPoint(15, 15));
}

QImage portrait(const QString& name) {
    return QImage(test::fixturePath(QStringLiteral("faces/") + name + QStringLiteral(".jpg")));
}

test::PortraitLandmarks landmarksOf(const QString& name) {
    for (const auto& l : test::readPortraitLandmarks(test::fixturePath(QStringLiteral("faces")))) {
        if (l.name == name) {
            return l;
        }
    }
    return {};
}

class PortraitFraming : public ::testing::TestWithParam<const char*> {};

// Real portraits: the saved identity-card crop has the face width and eye line of the card's
// ranges, measured with the portrait's own landmarks, not with what the detector found.
TEST_P(PortraitFraming, CardCropMeetsTheIdentityCardRanges) {
    const QString name = QString::fromLatin1(GetParam());
    const QImage picture = portrait(name);
    ASSERT_FALSE(picture.isNull()) << qPrintable(name);
    const test::PortraitLandmarks landmarks = landmarksOf(name);
    ASSERT_FALSE(landmarks.name.isEmpty());

    FaceDetector detector;
    ASSERT_TRUE(detector.ready()) << qPrintable(detector.error());
    PhotoWorkspace workspace;
    prepareCardWorkspace(workspace);
    ASSERT_TRUE(workspace.showNewPicture(picture));
    const DetectedFaces faces =
        FaceFinder::findNow(detector, *workspace.pyramid(), workspace.pictureSize());
    ASSERT_FALSE(faces.empty());
    ASSERT_TRUE(FramingPlacement::apply(workspace, faces));

    const test::CropMeasures m = test::measureCrop(landmarks, workspace);
    EXPECT_GE(m.faceWidth, 193);
    EXPECT_LE(m.faceWidth, 221);
    EXPECT_GE(m.eyeAboveBottom, 230);
    EXPECT_LE(m.eyeAboveBottom, 268);
    EXPECT_LT(std::abs(m.centreOffset), 10);
    EXPECT_EQ(workspace.captureFramedImage().size(), kCard);
}

// The head-height sizes need the chin and the top of the hair where they are; these portraits'
// chins lie off the average a face box suggests, and sample2_0's face is one the Haar cascade
// misses.
class PortraitHeadFraming : public ::testing::TestWithParam<const char*> {};

TEST_P(PortraitHeadFraming, OneInchCropMeetsTheHeadHeightRanges) {
    const QString name = QString::fromLatin1(GetParam());
    const test::PortraitLandmarks landmarks = landmarksOf(name);
    ASSERT_FALSE(landmarks.name.isEmpty());
    FaceDetector detector;
    PhotoWorkspace workspace;
    const QSize oneInch(295, 413);
    workspace.setAreaSize(oneInch + QSize(30, 30));
    workspace.setFrameSize(oneInch);
    workspace.moveFrameTo(QPoint(15, 15));
    ASSERT_TRUE(workspace.showNewPicture(portrait(name)));
    const DetectedFaces faces =
        FaceFinder::findNow(detector, *workspace.pyramid(), workspace.pictureSize());
    ASSERT_FALSE(faces.empty());
    EXPECT_TRUE(faces[0].landmarksFound);
    ASSERT_TRUE(FramingPlacement::apply(workspace, faces));

    const test::CropMeasures m = test::measureCrop(landmarks, workspace);
    EXPECT_GE(m.headHeight, 0.70 * 413);
    EXPECT_LE(m.headHeight, 0.80 * 413);
    EXPECT_GE(m.eyeAboveBottom, 0.56 * 413);
    EXPECT_LE(m.eyeAboveBottom, 0.69 * 413);
}

// Not sample3_0 (here and below): its curls' top is not found, the typical head that stands in
// for it needs the face at the low end of its range, and its detected face is 3 % wider than the
// reference, which takes the reference out of the range.
INSTANTIATE_TEST_SUITE_P(Portraits, PortraitFraming,
                         ::testing::Values("astronaut_0", "grace_hopper_0", "sample6_0",
                                           "sample5_2", "sample6_1", "sample2_0", "audrey_0",
                                           "bald_guys_3", "pascal_001009_0"));
// Not bald_guys_3 and pascal_001009_0 either: the top of their heads is not found (a collage's
// edge above one, dark hair on a dark wall behind the other), and the typical head that stands
// in for it is too tall for them (docs/face-framing.md).
INSTANTIATE_TEST_SUITE_P(Portraits, PortraitHeadFraming,
                         ::testing::Values("astronaut_0", "grace_hopper_0", "sample6_0",
                                           "sample5_2", "sample6_1", "sample2_0", "audrey_0",
                                           "sean_connery_0"));

// The fitted points against the portraits' reference: the framing takes the eye line, the chin
// and the face width from them.
TEST(FaceLandmarks, FittedInTheFoundBoxTheyMatchTheReferenceOnEveryPortrait) {
    FaceDetector detector;
    for (const auto& l : test::readPortraitLandmarks(test::fixturePath(QStringLiteral("faces")))) {
        SCOPED_TRACE(qPrintable(l.name));
        const DetectedFaces faces = detector.detect(portrait(l.name));
        ASSERT_FALSE(faces.empty());
        const DetectedFace& face = faces[0];
        ASSERT_TRUE(face.landmarksFound);
        const HeadMeasures head = HeadEstimate::measure(face);
        EXPECT_NEAR(head.eyeLineY, l.eyeLineY(), 0.03 * l.faceWidth);
        EXPECT_NEAR(head.centreX, (l.leftEye.x() + l.rightEye.x()) / 2, 0.05 * l.faceWidth);
        EXPECT_NEAR(head.chinY, l.chinY, 0.05 * l.faceWidth);
        EXPECT_NEAR(head.faceWidth, l.faceWidth, 0.05 * l.faceWidth);
    }
    EXPECT_TRUE(detector.landmarkError().isEmpty());
}

TEST(FaceLandmarks, WithoutTheModelFacesStillComeFromTheBoxAndTheEyes) {
    FaceDetector detector(FaceDetector::defaultCascadeFolder(), QStringLiteral("/nonexistent.dat"));
    ASSERT_TRUE(detector.ready());
    const DetectedFaces faces = detector.detect(portrait(QStringLiteral("astronaut_0")));
    ASSERT_FALSE(faces.empty());
    EXPECT_FALSE(faces[0].landmarksFound);
    EXPECT_TRUE(detector.landmarkError().contains(QStringLiteral("/nonexistent.dat")));

    PhotoWorkspace workspace;
    prepareCardWorkspace(workspace);
    ASSERT_TRUE(workspace.showNewPicture(portrait(QStringLiteral("astronaut_0"))));
    EXPECT_TRUE(FramingPlacement::apply(workspace, faces));
    EXPECT_TRUE(test::meetsTargets(
        test::measureCrop(landmarksOf(QStringLiteral("astronaut_0")), workspace), kCard));
}

TEST(FaceDetector, FindsNoFaceInAPatternAndExplainsMissingCascades) {
    FaceDetector detector;
    EXPECT_TRUE(detector.detect(test::patternPicture(640, 480)).empty());
    EXPECT_TRUE(detector.detect(QImage()).empty());

    FaceDetector missing(QStringLiteral("/nonexistent"));
    EXPECT_FALSE(missing.ready());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("/nonexistent")));
    EXPECT_TRUE(missing.detect(portrait(QStringLiteral("astronaut_0"))).empty());
}

TEST(FaceFinder, ReportsFacesInFullPictureCoordinates) {
    // A portrait enlarged 4 times is searched on a reduced copy; the face comes back where it
    // lies in the enlarged picture.
    const QImage small = portrait(QStringLiteral("astronaut_0"));
    const QImage large =
        small.scaled(small.size() * 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    FaceDetector detector;
    const DetectedFaces direct = detector.detect(small);
    ASSERT_FALSE(direct.empty());
    const DetectedFaces found =
        FaceFinder::findNow(detector, *PicturePyramid::build(large), large.size());
    ASSERT_FALSE(found.empty());
    EXPECT_NEAR(found[0].box.center().x(), direct[0].box.center().x() * 4, 20);
    EXPECT_NEAR(found[0].box.center().y(), direct[0].box.center().y() * 4, 20);
    EXPECT_NEAR(found[0].box.width(), direct[0].box.width() * 4, 60);
}

struct AutoFramerRig {
    FaceDetector detector;
    PhotoWorkspace workspace;
    test::ScriptedDialogs dialogs;
    QStringList hints;
    AutoFramer framer{workspace, detector, dialogs,
                      [this](const QString& text) { hints.append(text); }};
    AutoFramerRig() { prepareCardWorkspace(workspace); }
    bool waitForFaces() {
        QSignalSpy known(&framer, &AutoFramer::facesKnown);
        return known.wait(10000);
    }
};

TEST(AutoFramer, AutomaticFramingFramesEachNewPictureOnlyWhenOn) {
    AutoFramerRig rig;
    ASSERT_TRUE(rig.workspace.showNewPicture(portrait(QStringLiteral("sample6_0"))));
    const double fitted = rig.workspace.zoom();
    ASSERT_TRUE(rig.waitForFaces());
    EXPECT_EQ(rig.workspace.zoom(), fitted); // off: the faces are only kept
    EXPECT_TRUE(rig.hints.isEmpty());

    rig.framer.setAutomatic(true);
    ASSERT_TRUE(rig.workspace.showNewPicture(portrait(QStringLiteral("astronaut_0"))));
    const double fittedAgain = rig.workspace.zoom(); // the faces come through the event loop
    ASSERT_TRUE(rig.waitForFaces());
    EXPECT_NE(rig.workspace.zoom(), fittedAgain);
    EXPECT_EQ(rig.hints.value(0), AutoFramer::framedHint());
    EXPECT_TRUE(test::meetsTargets(
        test::measureCrop(landmarksOf(QStringLiteral("astronaut_0")), rig.workspace), kCard));
}

TEST(AutoFramer, AnOperatorsMoveBeforeTheFacesArriveWins) {
    AutoFramerRig rig;
    rig.framer.setAutomatic(true);
    ASSERT_TRUE(rig.workspace.showNewPicture(portrait(QStringLiteral("sample6_0"))));
    rig.workspace.stepFrame(1, 0);
    const double zoom = rig.workspace.zoom();
    const QPoint frame = rig.workspace.frame().topLeft();
    ASSERT_TRUE(rig.waitForFaces());
    EXPECT_EQ(rig.workspace.zoom(), zoom);
    EXPECT_EQ(rig.workspace.frame().topLeft(), frame);
}

TEST(AutoFramer, CommandWithoutAFaceOrPictureChangesNothing) {
    AutoFramerRig rig;
    EXPECT_FALSE(rig.framer.frameNow());
    ASSERT_EQ(rig.dialogs.messages.size(), 1);
    EXPECT_EQ(rig.dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(rig.dialogs.messages[0].text,
              QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。"));

    ASSERT_TRUE(rig.workspace.showNewPicture(test::patternPicture(1200, 900)));
    const double zoom = rig.workspace.zoom();
    const QPoint frame = rig.workspace.frame().topLeft();
    const QImage view = rig.workspace.view();
    EXPECT_FALSE(rig.framer.frameNow());
    EXPECT_EQ(rig.hints.value(0), AutoFramer::noFaceHint());
    EXPECT_EQ(rig.workspace.zoom(), zoom);
    EXPECT_EQ(rig.workspace.frame().topLeft(), frame);
    EXPECT_TRUE(rig.workspace.view() == view);
}

TEST(AutoFramer, CommandFramesTheLargestFaceAndTheOperatorCanGoOnFromThere) {
    AutoFramerRig rig;
    ASSERT_TRUE(rig.workspace.showNewPicture(portrait(QStringLiteral("grace_hopper_0"))));
    ASSERT_TRUE(rig.framer.frameNow()); // whether or not the search has finished
    EXPECT_EQ(rig.hints.value(0), AutoFramer::framedHint());
    const double framed = rig.workspace.zoom();
    ASSERT_TRUE(rig.workspace.zoomIn());
    EXPECT_DOUBLE_EQ(rig.workspace.zoom(), framed * PhotoWorkspace::ZoomInFactor);
}

} // namespace
} // namespace portiqa

namespace portiqa {
namespace {

TEST(AutoFramer, APrefetchedPictureAppearsFramedWithoutASearch) {
    AutoFramerRig rig;
    rig.framer.setAutomatic(true);
    const PicturePyramidPtr next = PicturePyramid::build(portrait(QStringLiteral("astronaut_0")));
    // What a prefetch does on its worker before the picture is shown.
    DetectedFaces faces = FaceFinder::findNow(rig.detector, *next, next->size());
    ASSERT_FALSE(faces.empty());
    rig.framer.acceptPrefetchedFaces(next, std::move(faces));

    ASSERT_TRUE(rig.workspace.showNewPicture(next));
    // Framed inside the show itself: no event loop has run.
    EXPECT_FALSE(rig.framer.searching());
    EXPECT_EQ(rig.hints.value(0), AutoFramer::framedHint());
    EXPECT_TRUE(test::meetsTargets(
        test::measureCrop(landmarksOf(QStringLiteral("astronaut_0")), rig.workspace), kCard));
}

} // namespace
} // namespace portiqa
