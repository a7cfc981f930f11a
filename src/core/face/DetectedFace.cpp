#include "core/face/DetectedFace.h"

#include <QLineF>

namespace portiqa {

namespace {

// How the head's measures follow from the Haar face box (side s) and the distance between the
// eyes (d), fitted to 68-point landmarks on real portraits. The box alone varies with the face's
// shape; the eyes, when found, halve that spread.
constexpr double kEyeLineInBox = 0.383;   // eye line below the box top, x s
constexpr double kEyeToChinOfBox = 0.678; // eye line to chin, x s
constexpr double kFaceWidthOfBox = 0.851; // cheek to cheek, x s
constexpr double kEyeWeight = 2.6;        // with eyes: measure = k x (s + 2.6 d)
constexpr double kEyeToChinWithEyes = 0.341;
constexpr double kFaceWidthWithEyes = 0.426;
// The head above the eyes follows the face's width, not the jaw: on the same portraits the
// top of the hair lies 0.64 to 1.33 face widths above the eye line, 0.91 on average (the
// skull alone 0.78).
constexpr double kCrownAboveEyesOfFaceWidth = 0.91;

double crownOf(const DetectedFace& face, HeadMeasures& head) {
    head.crownCut = face.topFound && face.topAtPictureEdge;
    return face.topFound ? face.topY : head.eyeLineY - kCrownAboveEyesOfFaceWidth * head.faceWidth;
}

} // namespace

DetectedFace DetectedFace::scaled(double sx, double sy) const {
    DetectedFace face = *this;
    face.box = QRectF(box.x() * sx, box.y() * sy, box.width() * sx, box.height() * sy);
    face.leftEye = QPointF(leftEye.x() * sx, leftEye.y() * sy);
    face.rightEye = QPointF(rightEye.x() * sx, rightEye.y() * sy);
    face.chin = QPointF(chin.x() * sx, chin.y() * sy);
    face.leftCheek = QPointF(leftCheek.x() * sx, leftCheek.y() * sy);
    face.rightCheek = QPointF(rightCheek.x() * sx, rightCheek.y() * sy);
    face.topY = topY * sy;
    return face;
}

HeadMeasures HeadEstimate::measure(const DetectedFace& face) {
    HeadMeasures head;
    const QRectF& box = face.box;
    double eyeToChin = kEyeToChinOfBox * box.height();
    head.faceWidth = kFaceWidthOfBox * box.width();
    if (face.landmarksFound) {
        head.centreX = (face.leftEye.x() + face.rightEye.x()) / 2;
        head.eyeLineY = (face.leftEye.y() + face.rightEye.y()) / 2;
        head.chinY = face.chin.y();
        head.faceWidth = QLineF(face.leftCheek, face.rightCheek).length();
        head.crownY = crownOf(face, head);
        return head;
    }
    if (face.eyesFound) {
        head.centreX = (face.leftEye.x() + face.rightEye.x()) / 2;
        head.eyeLineY = (face.leftEye.y() + face.rightEye.y()) / 2;
        const double eyes = QLineF(face.leftEye, face.rightEye).length();
        eyeToChin = kEyeToChinWithEyes * (box.height() + kEyeWeight * eyes);
        head.faceWidth = kFaceWidthWithEyes * (box.width() + kEyeWeight * eyes);
    } else {
        head.centreX = box.center().x();
        head.eyeLineY = box.top() + kEyeLineInBox * box.height();
    }
    head.chinY = head.eyeLineY + eyeToChin;
    head.crownY = crownOf(face, head);
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
