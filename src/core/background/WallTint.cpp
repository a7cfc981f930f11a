#include "core/background/WallTint.h"

#include "core/background/EdgeComposite.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <vector>

namespace portiqa::background {

namespace {

// The person's colour and the wall's must lie this far apart (RGB, 0 to 255) before a pixel
// between them is taken for a mix of the two.
constexpr double kLeastContrast = 60.0;
// How far off the line between them a mix may lie, as a share of the line's length.
constexpr double kMostOffLine = 0.25;

cv::Mat square(int radius) {
    return cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * radius + 1, 2 * radius + 1));
}

// Levels below those of every way out to the wall are raised to them (grey-level hole
// filling): a mix of the wall lies at the outline, never in a pit inside it.
cv::Mat withoutPits(const cv::Mat& share, const cv::Mat& band, int depth) {
    cv::Mat level(share.size(), CV_32F, cv::Scalar(1.0));
    share.copyTo(level, 255 - band);
    const cv::Mat cross = cv::getStructuringElement(cv::MORPH_CROSS, cv::Size(3, 3));
    for (int i = 0; i < 4 * depth + 8; ++i) {
        cv::Mat next;
        cv::erode(level, next, cross);
        next = cv::max(next, share);
        const bool settled = cv::countNonZero(next != level) == 0;
        level = next;
        if (settled) {
            break;
        }
    }
    return level;
}

// For every pixel, the colour (3 × 3 mean) of the nearest pixel of `region`; negative where
// there is none, empty when the region is.
cv::Mat nearestColourIn(const cv::Mat& image, const cv::Mat& region) {
    cv::Mat smooth;
    cv::blur(image, smooth, cv::Size(3, 3));
    cv::Mat distance;
    cv::Mat nearest;
    cv::distanceTransform(255 - region, distance, nearest, cv::DIST_L2, cv::DIST_MASK_5,
                          cv::DIST_LABEL_PIXEL);
    // Each label's colour, read at the pixel of the region that carries it.
    const cv::Vec3f unknown(-1, -1, -1);
    std::vector<cv::Vec3f> labelColour;
    for (int y = 0; y < region.rows; ++y) {
        const uchar* inside = region.ptr<uchar>(y);
        const int* labels = nearest.ptr<int>(y);
        for (int x = 0; x < region.cols; ++x) {
            if (inside[x] != 0 && labels[x] >= 0) {
                const auto label = size_t(labels[x]);
                if (label >= labelColour.size()) {
                    labelColour.resize(label + 1, unknown);
                }
                labelColour[label] = smooth.at<cv::Vec3f>(y, x);
            }
        }
    }
    if (labelColour.empty()) {
        return {};
    }
    cv::Mat colour(image.size(), CV_32FC3);
    for (int y = 0; y < image.rows; ++y) {
        const int* labels = nearest.ptr<int>(y);
        auto* colours = colour.ptr<cv::Vec3f>(y);
        for (int x = 0; x < image.cols; ++x) {
            const auto label = size_t(std::max(labels[x], 0));
            colours[x] = label < labelColour.size() ? labelColour[label] : unknown;
        }
    }
    return colour;
}

} // namespace

void fadeWallTint(const cv::Mat& bgr, const cv::Mat& person, int depth, cv::Mat& alpha,
                  cv::Mat& personColour) {
    cv::Mat image;
    bgr.convertTo(image, CV_32FC3);
    cv::Mat deep;
    cv::erode(person, deep, square(depth + 1));
    // The wall around each pixel, from the wall a little away from the outline.
    cv::Mat nearPerson;
    cv::dilate(person, nearPerson, square(2));
    nearPerson.convertTo(nearPerson, CV_32F, 1.0 / 255);
    const WallAround around = wallAround(bgr, nearPerson);
    const cv::Mat band = person & (255 - deep);

    // The person's own colour for each pixel of the band: that of the nearest pixel deeper
    // in, so a pixel of the shirt is judged by the shirt and not by the face beside it.
    personColour = nearestColourIn(image, deep);
    if (personColour.empty()) {
        return; // no person deeper in than the band
    }

    cv::Mat share(alpha.size(), CV_32F, cv::Scalar(1.0));
    for (int y = 0; y < band.rows; ++y) {
        const uchar* inBand = band.ptr<uchar>(y);
        for (int x = 0; x < band.cols; ++x) {
            const float wallShare = around.weight.at<float>(y, x);
            if (inBand[x] == 0 || wallShare < 0.05f) {
                continue;
            }
            const cv::Vec3f own = personColour.at<cv::Vec3f>(y, x);
            if (own[0] < 0) {
                continue;
            }
            const cv::Vec3f old(around.colour[0].at<float>(y, x) / wallShare,
                                around.colour[1].at<float>(y, x) / wallShare,
                                around.colour[2].at<float>(y, x) / wallShare);
            const cv::Vec3f seen = image.at<cv::Vec3f>(y, x);
            const cv::Vec3f line = own - old;
            const double length2 = line.dot(line);
            if (length2 < kLeastContrast * kLeastContrast) {
                continue; // alike: nothing tells a mix from the person
            }
            const double along = (seen - old).dot(line) / length2;
            if (along < -0.1 || along >= 1.0) {
                continue; // beyond the wall's colour or the person's: no mix of the two
            }
            const cv::Vec3f off = seen - (old + line * float(along));
            if (off.dot(off) > kMostOffLine * kMostOffLine * length2) {
                continue; // some colour of the person's own
            }
            share.at<float>(y, x) = float(std::max(along, 0.0));
        }
    }
    // One pixel's colour is noisy: a lone pixel takes its neighbours' share.
    cv::Mat settled;
    cv::medianBlur(share, settled, 3);
    settled.setTo(0.0, 255 - person);
    settled = withoutPits(settled, band, depth);
    cv::Mat lowered = cv::min(alpha, settled);
    lowered.copyTo(alpha, band);
}

} // namespace portiqa::background
