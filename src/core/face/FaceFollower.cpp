#include "core/face/FaceFollower.h"

#include "core/face/IdPhotoTargets.h"

#include <cmath>
#include <cstdlib>

namespace portiqa {

QPoint FaceFollower::frameFor(const HeadMeasures& head, QSize output) {
    const IdPhotoTarget target = IdPhotoTargets::forOutputSize(output);
    const double eyeRowInFrame = output.height() * (1.0 - target.eyeLineAim());
    return {static_cast<int>(std::lround(head.centreX - output.width() / 2.0)),
            static_cast<int>(std::lround(head.eyeLineY - eyeRowInFrame))};
}

std::optional<QPoint> FaceFollower::follow(QPoint current, const DetectedFaces& faces,
                                           QSize output) {
    const DetectedFace* face = HeadEstimate::largest(faces);
    if (!following_ || face == nullptr || output.isEmpty()) {
        return std::nullopt;
    }
    const QPoint target = frameFor(HeadEstimate::measure(*face), output);
    const QPoint gap = target - current;
    if (std::abs(gap.x()) <= DeadBand && std::abs(gap.y()) <= DeadBand) {
        return std::nullopt;
    }
    // At least one pixel toward the target, so the frame always arrives.
    auto stepOf = [](int distance) {
        if (std::abs(distance) <= DeadBand) {
            return 0;
        }
        const int step = static_cast<int>(std::lround(distance * Glide));
        return step != 0 ? step : (distance > 0 ? 1 : -1);
    };
    return current + QPoint(stepOf(gap.x()), stepOf(gap.y()));
}

} // namespace portiqa
