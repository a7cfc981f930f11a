#pragma once

// Where the person is in a framed head-and-shoulders picture, as far as the face tells: the
// GrabCut seeds, and the one piece of a mask that holds the face. Internal to
// core/background.

#include "core/face/DetectedFace.h"

#include <opencv2/core.hpp>

namespace portiqa::background {

// The GrabCut seeds for a head whose measures are `m`, in the coordinates of a work copy of
// `size` (`scale` from the framed picture to the copy).
cv::Mat personSeeds(cv::Size size, const HeadMeasures& m, double scale);

// The middle of the face, the neck and the skull above the eyes (0/255), in the work copy:
// the part of the seeds' sure person that the wall can never reach.
cv::Mat faceCore(cv::Size size, const HeadMeasures& m, double scale);

// Marks as probably background (in `seeds`, the GrabCut labels) the pixels of the smooth wall
// joined to the sure background and to the top edge's probable background: pixels reached by
// steps too small to be an outline. GrabCut then learns the person's colours without that
// wall, which the generous head and body of the seeds would otherwise include. Outside the
// face's `core` this holds for the seeds' sure person too: the chest they expect under the
// chin is wall where the body is turned aside. Returns the wall so found (0/255), sure
// background included.
cv::Mat markOpenWall(const cv::Mat& small, cv::Mat& seeds, const cv::Mat& core);

// The part of `person` (0/255) that holds `face`, with its holes filled.
cv::Mat keepPersonAt(const cv::Mat& person, cv::Point face);

} // namespace portiqa::background
