#pragma once

// The tops of the shoulders as the picture's edges draw them, independent of colour models:
// per column, from each side of the frame towards the neck, the path of strongest downward
// colour step. Where collar or shirt share colours with the wall, or lie outside where the
// face expects the body, this still says that what lies below the line is the person.
// Internal to core/background.

#include "core/face/DetectedFace.h"

#include <opencv2/core.hpp>

#include <vector>

namespace portiqa::background {

struct ShoulderLine {
    std::vector<int> left;  // per column from 0: the top of the left shoulder (rows)
    std::vector<int> right; // per column from the right edge inwards: the right shoulder's
};

// The shoulders in `small` (the work copy, `scale` from the framed picture) of a head whose
// measures are `m`. A shoulder that leaves the frame at the bottom runs along its last row.
ShoulderLine findShoulders(const cv::Mat& small, const HeadMeasures& m, double scale);

// Marks everything more than `margin` px below the shoulders in GrabCut's labels (`mask`) as
// probably the person; sure seeds stay.
void markBelowShoulders(const ShoulderLine& line, int margin, cv::Mat& mask);

} // namespace portiqa::background
