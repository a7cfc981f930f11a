#pragma once

// Where a head belongs in an ID photo of a given output size: one table for every size the
// program offers. Each entry gives ranges; the framing aims at the middle of each.
//
// - 358 x 441 (resident identity card): the face is 207 +- 14 px wide, the top of the hair
//   7..21 px below the top edge and the eye line at least 207 px above the bottom edge. With
//   a 207-px face the eyes sit about 178 px below the top of a typical head, so the top's
//   range puts the eye line 230..268 px above the bottom edge, which also keeps the 207-px
//   minimum. Hair that stands higher than that may be cut; the eye line may not move.
// - every other size (the presets and custom sizes): the head, chin to the top of the hair,
//   is 70..80 % of the photo's height, the eye line 56..69 % of it above the bottom edge and
//   the top of the hair 3..12 % of it below the top edge.

#include <QSize>

namespace portiqa {

struct IdPhotoTarget {
    enum class Measure {
        FaceWidth,  // the size range is the face's width as a share of the photo's width
        HeadHeight, // the size range is chin to crown as a share of the photo's height
    };
    Measure measure = Measure::HeadHeight;
    double sizeLow = 0; // shares of the photo's width or height
    double sizeHigh = 0;
    double eyeLineLow = 0; // the eye line's height above the bottom edge, share of the height
    double eyeLineHigh = 0;
    double topLow = 0; // the top of the hair below the top edge, share of the height
    double topHigh = 0;

    double sizeAim() const { return (sizeLow + sizeHigh) / 2; }
    double eyeLineAim() const { return (eyeLineLow + eyeLineHigh) / 2; }
};

class IdPhotoTargets {
public:
    // The entry for an output size: the identity-card entry for exactly 358 x 441, the
    // head-height entry for every other size.
    static IdPhotoTarget forOutputSize(QSize output);
};

} // namespace portiqa
