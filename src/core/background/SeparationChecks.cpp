#include "core/background/SeparationChecks.h"

#include "core/background/PersonMask.h"

#include <opencv2/imgproc.hpp>

#include <vector>

namespace portiqa::background {

namespace {

// A colour step (RGB distance) the eye sees across the outline.
constexpr float kVisibleStep = 24.0f;
// The plain model of the wall: a spread floor (grey levels), and the distance (in spreads)
// beyond which a colour is not the wall.
constexpr double kWallSpreadFloor = 6.0;
constexpr double kWallDistance = 3.5;

} // namespace

double unsupportedOutline(const cv::Mat& bgr, const cv::Mat& person) {
    const cv::Mat ring = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(9, 9));
    cv::Mat inner;
    cv::Mat outer;
    cv::erode(person, inner, ring);
    cv::dilate(person, outer, ring);
    cv::Mat outline;
    cv::Mat shrunk;
    cv::erode(person, shrunk, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    outline = person - shrunk;
    // Mean colours just inside and just outside, near each outline pixel.
    cv::Mat image;
    bgr.convertTo(image, CV_32FC3);
    cv::Mat insideWeight;
    cv::Mat outsideWeight;
    cv::Mat insideRing = person - inner;
    cv::Mat outsideRing = outer - person;
    insideRing.convertTo(insideWeight, CV_32F, 1.0 / 255);
    outsideRing.convertTo(outsideWeight, CV_32F, 1.0 / 255);
    const cv::Size window(11, 11);
    cv::Mat insideSum;
    cv::Mat outsideSum;
    cv::Mat insideCount;
    cv::Mat outsideCount;
    cv::Mat insideWeight3;
    cv::Mat outsideWeight3;
    cv::merge(std::vector<cv::Mat>(3, insideWeight), insideWeight3);
    cv::merge(std::vector<cv::Mat>(3, outsideWeight), outsideWeight3);
    cv::blur(image.mul(insideWeight3), insideSum, window);
    cv::blur(image.mul(outsideWeight3), outsideSum, window);
    cv::blur(insideWeight, insideCount, window);
    cv::blur(outsideWeight, outsideCount, window);
    int counted = 0;
    int flat = 0;
    for (int y = 0; y < bgr.rows; ++y) {
        for (int x = 0; x < bgr.cols; ++x) {
            // The frame's own edges are no outline of the person.
            if (outline.at<uchar>(y, x) == 0 || x < 2 || y < 2 || x >= bgr.cols - 2 ||
                y >= bgr.rows - 2) {
                continue;
            }
            const float ni = insideCount.at<float>(y, x);
            const float no = outsideCount.at<float>(y, x);
            if (ni < 1e-3f || no < 1e-3f) {
                continue;
            }
            const cv::Vec3f in = insideSum.at<cv::Vec3f>(y, x) / ni;
            const cv::Vec3f out = outsideSum.at<cv::Vec3f>(y, x) / no;
            ++counted;
            flat += cv::norm(in - out) < kVisibleStep ? 1 : 0;
        }
    }
    return counted > 0 ? double(flat) / counted : 1.0;
}

double agreementWithPlainModel(const cv::Mat& small, const cv::Mat& seeds, const cv::Mat& person,
                               cv::Point face) {
    std::vector<cv::Vec3f> samples;
    for (int y = 0; y < small.rows; ++y) {
        for (int x = 0; x < small.cols; ++x) {
            if (seeds.at<uchar>(y, x) == cv::GC_BGD) {
                samples.emplace_back(small.at<cv::Vec3b>(y, x));
            }
        }
    }
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
    const cv::Mat inverse = covariance.inv();
    cv::Mat plainPerson(small.size(), CV_8U);
    for (int y = 0; y < small.rows; ++y) {
        for (int x = 0; x < small.cols; ++x) {
            const cv::Vec3b p = small.at<cv::Vec3b>(y, x);
            const cv::Mat d = (cv::Mat_<double>(1, 3) << p[0] - mean.at<double>(0),
                               p[1] - mean.at<double>(1), p[2] - mean.at<double>(2));
            const double distance = cv::Mat(d * inverse * d.t()).at<double>(0);
            plainPerson.at<uchar>(y, x) = distance > kWallDistance * kWallDistance ? 255 : 0;
        }
    }
    // What the face tells for sure stays the person (a skin-coloured wall would swallow it).
    plainPerson.setTo(255, seeds == cv::GC_FGD);
    plainPerson = keepPersonAt(plainPerson, face);
    const int both = cv::countNonZero(plainPerson & person);
    const int either = cv::countNonZero(plainPerson | person);
    return either > 0 ? double(both) / either : 0.0;
}

double backgroundTexture(const cv::Mat& bgr, const cv::Mat& farBackground) {
    cv::Mat grey;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    cv::Mat gx;
    cv::Mat gy;
    cv::Sobel(grey, gx, CV_32F, 1, 0);
    cv::Sobel(grey, gy, CV_32F, 0, 1);
    cv::Mat magnitude;
    cv::magnitude(gx, gy, magnitude);
    // Sobel's kernel weighs 4 neighbours: per pixel, as a plain difference would be.
    return cv::countNonZero(farBackground) > 0 ? cv::mean(magnitude, farBackground)[0] / 4 : 0;
}

} // namespace portiqa::background
