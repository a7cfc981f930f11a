#pragma once

// The measures a separation of person and background is judged by before it is trusted.
// Internal to core/background.

#include <opencv2/core.hpp>

namespace portiqa::background {

// The share of the person's outline (`person`, 0/255) along which the picture shows no
// edge: the colours a few pixels inside and outside it differ by less than a step the eye
// would see. A separation drawn where the picture has no edge was guessed.
double unsupportedOutline(const cv::Mat& bgr, const cv::Mat& person);

// How far the person GrabCut found agrees (intersection over union) with the person a plain
// model of the background sees: every pixel whose colour lies far from the wall's colours.
// The wall is the largest smooth surface of `wall` when it covers most of the background,
// else the background seeds (`seeds`, GrabCut's labels). Behind a plain wall or curtain the
// two agree; on a busy background, or one whose colours the person shares, they part ways.
double agreementWithPlainModel(const cv::Mat& small, const cv::Mat& seeds, const cv::Mat& person,
                               cv::Point face, const cv::Mat& wall);

// The gradient (grey levels per pixel) of the picture over `farBackground`: its mean, and the
// level the strongest tenth of it passes. A seam or a frame's edge across a plain wall raises
// the mean but not the tenth, which only a wall full of things (shelves, leaves, a street)
// raises.
struct BackgroundGradient {
    double mean = 0;
    double strongest = 0;
};
BackgroundGradient backgroundGradient(const cv::Mat& bgr, const cv::Mat& farBackground);

} // namespace portiqa::background
