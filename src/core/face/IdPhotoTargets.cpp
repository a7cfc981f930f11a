#include "core/face/IdPhotoTargets.h"

namespace portiqa {

namespace {

struct SizedTarget {
    QSize output; // empty: every size without an entry of its own
    IdPhotoTarget target;
};

constexpr double kCardWidth = 358;
constexpr double kCardHeight = 441;

const SizedTarget kTargets[] = {
    {QSize(358, 441),
     {IdPhotoTarget::Measure::FaceWidth, 193 / kCardWidth, 221 / kCardWidth, 230 / kCardHeight,
      268 / kCardHeight, 7 / kCardHeight, 21 / kCardHeight}},
    {QSize(), {IdPhotoTarget::Measure::HeadHeight, 0.70, 0.80, 0.56, 0.69, 0.03, 0.12}},
};

} // namespace

IdPhotoTarget IdPhotoTargets::forOutputSize(QSize output) {
    for (const SizedTarget& entry : kTargets) {
        if (entry.output.isEmpty() || entry.output == output) {
            return entry.target;
        }
    }
    return kTargets[std::size(kTargets) - 1].target;
}

} // namespace portiqa
