#pragma once

// OpenCV's GrabCut, run so that the same picture and seeds always give the same cut. GrabCut
// draws its colour models' starting points from the thread's random generator; here that
// generator starts from a fixed state and is put back afterwards, so a cut does not depend on
// what ran on the thread before (the window, its read-ahead and the crop command agree).

#include <opencv2/core.hpp>

#include <cstdint>

namespace portiqa {

// GrabCut from the labels in `mask` (GC_INIT_WITH_MASK), which receives the result. False
// when OpenCV refuses the input.
bool repeatableGrabCut(const cv::Mat& bgr, cv::Mat& mask, int iterations, std::uint64_t seed);

} // namespace portiqa
