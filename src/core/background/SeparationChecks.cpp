#include "core/background/SeparationChecks.h"

#include "core/background/PersonMask.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <vector>

namespace portiqa::background {

namespace {

// A colour step (RGB distance) the eye sees across the outline.
constexpr float kVisibleStep = 24.0f;
// How deep the rings inside and outside the outline are whose colours are compared (px).
constexpr float kRingDepth = 4.0f;
// The plain model of the wall: a spread floor (grey levels), and the distance (in spreads)
// beyond which a colour is not the wall.
constexpr double kWallSpreadFloor = 6.0;
constexpr double kWallDistance = 3.5;
// The share of the background one smooth surface must cover to be taken for the wall.
constexpr double kOneSurfaceShare = 0.75;

// The colours the plain model learns the wall from. Where one smooth surface covers most of
// what lies behind the person, that surface: the seeds' corners may also hold a logo or a
// seam at the frame's edge, which would widen the model until the person's own colours fit
// it. Otherwise the sure background of the seeds.
std::vector<cv::Vec3f> wallSamples(const cv::Mat& small, const cv::Mat& seeds,
                                   const cv::Mat& person, const cv::Mat& wall) {
    cv::Mat parts;
    cv::Mat stats;
    cv::Mat centres;
    const int count = cv::connectedComponentsWithStats(wall, parts, stats, centres, 8, CV_32S);
    int largest = 0;
    for (int i = 1; i < count; ++i) {
        if (largest == 0 ||
            stats.at<int>(i, cv::CC_STAT_AREA) > stats.at<int>(largest, cv::CC_STAT_AREA)) {
            largest = i;
        }
    }
    const cv::Mat behind = person == 0;
    const int behindCount = cv::countNonZero(behind);
    const bool oneSurface =
        largest > 0 && behindCount > 0 &&
        cv::countNonZero((parts == largest) & behind) >= kOneSurfaceShare * behindCount;
    std::vector<cv::Vec3f> samples;
    for (int y = 0; y < small.rows; ++y) {
        for (int x = 0; x < small.cols; ++x) {
            const bool take =
                oneSurface ? parts.at<int>(y, x) == largest : seeds.at<uchar>(y, x) == cv::GC_BGD;
            if (take) {
                samples.emplace_back(small.at<cv::Vec3b>(y, x));
            }
        }
    }
    return samples;
}

} // namespace

double unsupportedOutline(const cv::Mat& bgr, const cv::Mat& person) {
    // The rings just inside and just outside the outline, 4 px deep (distances are cheaper
    // than a round structuring element of that size).
    cv::Mat toBackground;
    cv::Mat toPerson;
    cv::distanceTransform(person, toBackground, cv::DIST_L2, 3);
    cv::distanceTransform(255 - person, toPerson, cv::DIST_L2, 3);
    const cv::Mat insideRing = (toBackground > 0) & (toBackground <= kRingDepth);
    const cv::Mat outsideRing = (toPerson > 0) & (toPerson <= kRingDepth);
    // Mean colours just inside and just outside, near each outline pixel.
    cv::Mat image;
    bgr.convertTo(image, CV_32FC3);
    const cv::Size window(11, 11);
    cv::Mat insideSum;
    cv::Mat outsideSum;
    cv::Mat insideCount;
    cv::Mat outsideCount;
    cv::Mat inside = cv::Mat::zeros(image.size(), image.type());
    cv::Mat outside = cv::Mat::zeros(image.size(), image.type());
    image.copyTo(inside, insideRing);
    image.copyTo(outside, outsideRing);
    cv::blur(inside, insideSum, window);
    cv::blur(outside, outsideSum, window);
    insideRing.convertTo(insideCount, CV_32F, 1.0 / 255);
    outsideRing.convertTo(outsideCount, CV_32F, 1.0 / 255);
    cv::blur(insideCount, insideCount, window);
    cv::blur(outsideCount, outsideCount, window);
    int counted = 0;
    int flat = 0;
    // The frame's own edges are no outline of the person.
    for (int y = 2; y < bgr.rows - 2; ++y) {
        const float* depth = toBackground.ptr<float>(y);
        const float* ni = insideCount.ptr<float>(y);
        const float* no = outsideCount.ptr<float>(y);
        const auto* in = insideSum.ptr<cv::Vec3f>(y);
        const auto* out = outsideSum.ptr<cv::Vec3f>(y);
        for (int x = 2; x < bgr.cols - 2; ++x) {
            // The outline: the person's pixels next to the background.
            if (depth[x] <= 0 || depth[x] > 1.5f || ni[x] < 1e-3f || no[x] < 1e-3f) {
                continue;
            }
            ++counted;
            flat += cv::norm(in[x] / ni[x] - out[x] / no[x]) < kVisibleStep ? 1 : 0;
        }
    }
    return counted > 0 ? double(flat) / counted : 1.0;
}

double agreementWithPlainModel(const cv::Mat& small, const cv::Mat& seeds, const cv::Mat& person,
                               cv::Point face, const cv::Mat& wall) {
    std::vector<cv::Vec3f> samples = wallSamples(small, seeds, person, wall);
    if (samples.size() < 50) {
        return 1.0; // too little background to judge by
    }
    cv::Mat data(int(samples.size()), 3, CV_32F, samples.data());
    cv::Mat covariance;
    cv::Mat mean;
    cv::calcCovarMatrix(data, covariance, mean, cv::COVAR_NORMAL | cv::COVAR_ROWS, CV_64F);
    covariance /= double(samples.size());
    // A floor under the spread: a wall is never read as flatter than a few grey levels.
    covariance += cv::Mat::eye(3, 3, CV_64F) * kWallSpreadFloor * kWallSpreadFloor;
    const cv::Matx33d inverse(cv::Mat(covariance.inv()));
    const cv::Vec3d centre(mean.at<double>(0), mean.at<double>(1), mean.at<double>(2));
    cv::Mat plainPerson(small.size(), CV_8U);
    for (int y = 0; y < small.rows; ++y) {
        const auto* in = small.ptr<cv::Vec3b>(y);
        auto* out = plainPerson.ptr<uchar>(y);
        for (int x = 0; x < small.cols; ++x) {
            const cv::Vec3d d = cv::Vec3d(in[x][0], in[x][1], in[x][2]) - centre;
            out[x] = d.dot(inverse * d) > kWallDistance * kWallDistance ? 255 : 0;
        }
    }
    // What the face tells for sure stays the person (a skin-coloured wall would swallow it).
    plainPerson.setTo(255, seeds == cv::GC_FGD);
    plainPerson = keepPersonAt(plainPerson, face);
    const int both = cv::countNonZero(plainPerson & person);
    const int either = cv::countNonZero(plainPerson | person);
    return either > 0 ? double(both) / either : 0.0;
}

BackgroundGradient backgroundGradient(const cv::Mat& bgr, const cv::Mat& farBackground) {
    cv::Mat grey;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    cv::Mat gx;
    cv::Mat gy;
    cv::Sobel(grey, gx, CV_32F, 1, 0);
    cv::Sobel(grey, gy, CV_32F, 0, 1);
    cv::Mat magnitude;
    cv::magnitude(gx, gy, magnitude);
    // Sobel's kernel weighs 4 neighbours: per pixel, as a plain difference would be.
    magnitude /= 4;
    std::vector<float> values;
    values.reserve(size_t(cv::countNonZero(farBackground)));
    for (int y = 0; y < magnitude.rows; ++y) {
        const float* m = magnitude.ptr<float>(y);
        const uchar* far = farBackground.ptr<uchar>(y);
        for (int x = 0; x < magnitude.cols; ++x) {
            if (far[x] != 0) {
                values.push_back(m[x]);
            }
        }
    }
    BackgroundGradient gradient;
    if (values.empty()) {
        return gradient;
    }
    gradient.mean = cv::mean(magnitude, farBackground)[0];
    const auto tenth = values.begin() + std::ptrdiff_t(values.size() * 9 / 10);
    std::nth_element(values.begin(), tenth, values.end());
    gradient.strongest = *tenth;
    return gradient;
}

} // namespace portiqa::background
