#include "core/face/RepeatableGrabCut.h"

#include <opencv2/imgproc.hpp>

namespace portiqa {

bool repeatableGrabCut(const cv::Mat& bgr, cv::Mat& mask, int iterations, std::uint64_t seed) {
    const cv::RNG before = cv::theRNG();
    cv::theRNG() = cv::RNG(seed);
    bool separated = true;
    try {
        cv::Mat backgroundModel;
        cv::Mat personModel;
        cv::grabCut(bgr, mask, cv::Rect(), backgroundModel, personModel, iterations,
                    cv::GC_INIT_WITH_MASK);
    } catch (const cv::Exception&) {
        separated = false;
    }
    cv::theRNG() = before;
    return separated;
}

} // namespace portiqa
