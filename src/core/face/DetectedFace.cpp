#include "core/face/DetectedFace.h"

namespace portiqa {

namespace {

// Where the features lie in the detector's box, as shares of its size; measured against
// 68-point landmarks on the portraits the accuracy benchmark uses.
constexpr double kEyeLineInBox = 0.40;
constexpr double kChinInBox = 1.09;
constexpr double kFaceWidthOfBox = 0.93;

} // namespace

DetectedFace DetectedFace::scaled(double sx, double sy) const {
    DetectedFace face = *this;
    face.box = QRectF(box.x() * sx, box.y() * sy, box.width() * sx, box.height() * sy);
    face.leftEye = QPointF(leftEye.x() * sx, leftEye.y() * sy);
    face.rightEye = QPointF(rightEye.x() * sx, rightEye.y() * sy);
    return face;
}

HeadMeasures HeadEstimate::measure(const DetectedFace& face) {
    HeadMeasures head;
    const QRectF& box = face.box;
    if (face.eyesFound) {
        head.centreX = (face.leftEye.x() + face.rightEye.x()) / 2;
        head.eyeLineY = (face.leftEye.y() + face.rightEye.y()) / 2;
    } else {
        head.centreX = box.center().x();
        head.eyeLineY = box.top() + kEyeLineInBox * box.height();
    }
    head.chinY = box.top() + kChinInBox * box.height();
    head.crownY = head.eyeLineY - (head.chinY - head.eyeLineY);
    head.faceWidth = kFaceWidthOfBox * box.width();
    return head;
}

const DetectedFace* HeadEstimate::largest(const DetectedFaces& faces) {
    const DetectedFace* best = nullptr;
    for (const DetectedFace& face : faces) {
        if (best == nullptr ||
            face.box.width() * face.box.height() > best->box.width() * best->box.height()) {
            best = &face;
        }
    }
    return best;
}

} // namespace portiqa
