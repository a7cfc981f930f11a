#pragma once

// The replaced picture from a separation: the picture where the person is surely, the colour
// where the wall is surely, and between them, along the soft edge, the person's own colour
// (the old wall's share taken out) mixed with the new one. Internal to core/background.

#include <QImage>
#include <QRgb>

#include <opencv2/core.hpp>

#include <vector>

namespace portiqa::background {

// The old wall around each pixel of the soft edge: a blur of the background alone, on the
// picture the edge was worked out on.
struct WallAround {
    cv::Mat weight;              // the share of background pixels around each pixel
    std::vector<cv::Mat> colour; // their colours' blurred sums, B, G, R
};

// `bgr` is the picture the edge was worked out on, `alpha` the person's share of each of its
// pixels (CV_32F, 0 to 1).
WallAround wallAround(const cv::Mat& bgr, const cv::Mat& alpha);

// The picture with the colour behind the person, and the person's share of each pixel
// (Grayscale8) into `alphaOut`. `alpha` and `around` belong to the picture the edge was
// worked out on: `rgb` (RGB32) itself, or a smaller copy of it, whose edge is then brought up
// to `rgb`'s size. `personColour` (CV_32FC3, B, G, R, on the same picture as `alpha`; may be
// empty, negative where unknown) is the person's colour deeper in near each pixel: what the old
// wall's share is taken out of does not go past it. A null picture when there is no memory for the
// result.
QImage composite(const QImage& rgb, const cv::Mat& alpha, const WallAround& around,
                 const cv::Mat& personColour, QRgb colour, QImage& alphaOut);

} // namespace portiqa::background
