#pragma once

// A blurred photo carries the old wall's colour a few pixels into the person: along the hair's
// outline its pixels are mixes of hair and wall, though the separation takes them wholly as the
// person, so a thin rim of the old wall would stay round the head on the new colour. Internal
// to core/background.

#include <opencv2/core.hpp>

namespace portiqa::background {

// Lowers the person's share (`alpha`, CV_32F, 0 to 1) of the pixels up to `depth` px inside the
// outline of `person` (CV_8U, 255 person) whose colour lies between the person's own colour
// deeper in and the wall's around, by where it lies on that line. Only where the two colours
// differ clearly: where they are alike nothing tells a mix from the person.
// Into `personColour` (CV_32FC3, B, G, R): for every pixel, the colour of the nearest pixel
// of the person deeper in than that (3 × 3 mean; negative where unknown), empty when there is
// none.
void fadeWallTint(const cv::Mat& bgr, const cv::Mat& person, int depth, cv::Mat& alpha,
                  cv::Mat& personColour);

} // namespace portiqa::background
