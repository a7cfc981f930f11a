#include "core/face/FaceFollower.h"

#include <gtest/gtest.h>

#include <cmath>

namespace portiqa {
namespace {

DetectedFace faceAt(double centreX, double eyeY) {
    DetectedFace face;
    face.box = QRectF(centreX - 60, eyeY - 47, 120, 120);
    face.eyesFound = true;
    face.leftEye = QPointF(centreX - 25, eyeY);
    face.rightEye = QPointF(centreX + 25, eyeY);
    return face;
}

const QSize kOneInch(295, 413);

TEST(FaceFollower, FrameForCentresTheFaceAndPutsTheEyesAtTheirHeight) {
    const HeadMeasures head = HeadEstimate::measure(faceAt(320, 200));
    const QPoint frame = FaceFollower::frameFor(head, kOneInch);
    EXPECT_NEAR(frame.x() + 295 / 2.0, 320, 1);
    EXPECT_NEAR(413 - (200 - frame.y()), 0.625 * 413, 1); // eye line 62.5 % above the bottom
}

TEST(FaceFollower, GlidesToTheFaceAndThenHoldsStillThroughSmallWobble) {
    FaceFollower follower;
    const QPoint target = FaceFollower::frameFor(HeadEstimate::measure(faceAt(320, 200)), kOneInch);
    QPoint frame(0, 0);
    int moves = 0;
    int lastDistance = 1 << 30;
    for (int i = 0; i < 40; ++i) {
        const auto next = follower.follow(frame, {faceAt(320, 200)}, kOneInch);
        if (!next) {
            break;
        }
        const QPoint gap = target - *next;
        const int distance = std::abs(gap.x()) + std::abs(gap.y());
        EXPECT_LT(distance, lastDistance); // every step closer, never past
        lastDistance = distance;
        frame = *next;
        ++moves;
    }
    EXPECT_GT(moves, 2); // glides, does not jump
    EXPECT_LE(std::abs(frame.x() - target.x()), FaceFollower::DeadBand);
    EXPECT_LE(std::abs(frame.y() - target.y()), FaceFollower::DeadBand);
    // Detections a pixel or so off leave the frame alone.
    for (const QPointF wobble : {QPointF(1, 0), QPointF(-1, 1), QPointF(0, -1)}) {
        const auto next =
            follower.follow(target, {faceAt(320 + wobble.x(), 200 + wobble.y())}, kOneInch);
        EXPECT_FALSE(next.has_value());
    }
}

TEST(FaceFollower, StopsWhenTheOperatorMovesTheFrameAndWithoutAFace) {
    FaceFollower follower;
    EXPECT_FALSE(follower.follow({0, 0}, {}, kOneInch).has_value());
    EXPECT_TRUE(follower.follow({0, 0}, {faceAt(320, 200)}, kOneInch).has_value());
    follower.operatorMoved();
    EXPECT_FALSE(follower.following());
    EXPECT_FALSE(follower.follow({0, 0}, {faceAt(320, 200)}, kOneInch).has_value());
    follower.restart();
    EXPECT_TRUE(follower.follow({0, 0}, {faceAt(320, 200)}, kOneInch).has_value());
}

} // namespace
} // namespace portiqa
