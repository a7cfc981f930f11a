#pragma once

// Exact quarter turns: every pixel moves, none is resampled, and the size swaps.

#include <QImage>

namespace portiqa {

class QuarterTurn {
public:
    // The picture turned 90 degrees clockwise (or anticlockwise) as RGB32; null when the
    // picture is null or memory runs out.
    static QImage turned(const QImage& picture, bool clockwise);
};

} // namespace portiqa
