#include "core/background/PersonMask.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace portiqa::background {

namespace {

// The largest colour step between neighbouring pixels (grey levels per channel, on the work
// copy smoothed a little) that still counts as the same smooth wall: a wall's shading and
// gradient move by less, the outline of a head by more.
constexpr double kWallStep = 2.5;

// From the framed picture's coordinates to the work copy's.
struct ToWork {
    double scale;
    cv::Point operator()(double x, double y) const {
        return cv::Point(int(std::lround(x * scale)), int(std::lround(y * scale)));
    }
    int length(double v) const { return std::max(1, int(std::lround(v * scale))); }
};

// The middle of the face, the neck, and the skull above the eyes whatever covers it: dark
// hair before a dark wall is the person all the same.
void drawFaceCore(cv::Mat& mask, const HeadMeasures& m, double scale, int value) {
    const ToWork at{scale};
    const double fw = m.faceWidth;
    const double faceHeight = m.chinY - m.eyeLineY;
    cv::ellipse(mask, at(m.centreX, m.eyeLineY + 0.35 * faceHeight),
                cv::Size(at.length(0.3 * fw), at.length(0.75 * faceHeight)), 0, 0, 360,
                cv::Scalar(value), cv::FILLED);
    cv::rectangle(mask, at(m.centreX - 0.15 * fw, m.chinY - 0.1 * fw),
                  at(m.centreX + 0.15 * fw, m.chinY + 0.35 * fw), cv::Scalar(value), cv::FILLED);
    cv::ellipse(mask, at(m.centreX, m.eyeLineY - 0.35 * fw),
                cv::Size(at.length(0.4 * fw), at.length(0.38 * fw)), 0, 0, 360, cv::Scalar(value),
                cv::FILLED);
}

} // namespace

cv::Mat faceCore(cv::Size size, const HeadMeasures& m, double scale) {
    cv::Mat core = cv::Mat::zeros(size, CV_8U);
    drawFaceCore(core, m, scale, 255);
    return core;
}

// The GrabCut seeds for a head whose measures are `m`, in the work copy's coordinates
// (`scale` from the framed picture to the copy).
cv::Mat personSeeds(cv::Size size, const HeadMeasures& m, double scale) {
    cv::Mat mask(size, CV_8U, cv::Scalar(cv::GC_PR_BGD));
    const ToWork at{scale};
    const double fw = m.faceWidth;
    const double bottom = size.height / scale;

    // Probably the person: the head with room for its hair, and the body widening below it.
    cv::ellipse(mask, at(m.centreX, (m.crownY - 0.2 * fw + m.chinY) / 2),
                cv::Size(at.length(0.8 * fw), at.length((m.chinY - m.crownY + 0.4 * fw) / 2)), 0, 0,
                360, cv::Scalar(cv::GC_PR_FGD), cv::FILLED);
    // Shoulders may rise as high as the mouth in a tight frame and reach its sides.
    const std::vector<cv::Point> body{at(m.centreX - 0.6 * fw, m.chinY - 0.2 * fw),
                                      at(m.centreX + 0.6 * fw, m.chinY - 0.2 * fw),
                                      at(m.centreX + 1.6 * fw, m.chinY + 0.6 * fw),
                                      at(m.centreX + 2.4 * fw, bottom),
                                      at(m.centreX - 2.4 * fw, bottom),
                                      at(m.centreX - 1.6 * fw, m.chinY + 0.6 * fw)};
    cv::fillPoly(mask, std::vector<std::vector<cv::Point>>{body}, cv::Scalar(cv::GC_PR_FGD));

    // Surely the person: the face's core, and the chest under the chin unless the smooth wall
    // reaches it (markOpenWall).
    const double faceHeight = m.chinY - m.eyeLineY;
    drawFaceCore(mask, m, scale, cv::GC_FGD);
    cv::rectangle(mask, at(m.centreX - 0.45 * fw, m.chinY + 0.9 * fw),
                  at(m.centreX + 0.45 * fw, bottom), cv::Scalar(cv::GC_FGD), cv::FILLED);
    // In a tight frame the chest is out of sight: the clothes along the bottom edge under the
    // chin are the person all the same.
    if (m.chinY + 0.15 * fw < bottom) {
        cv::rectangle(mask, at(m.centreX - 0.6 * fw, bottom - 0.06 * fw),
                      at(m.centreX + 0.6 * fw, bottom), cv::Scalar(cv::GC_FGD), cv::FILLED);
    }

    // Surely background: beside the head above the eyes, and the space well above the hair.
    // In a frame of the standards the face is about half the frame's width, so these are
    // narrow strips along the frame's top and sides: they are what GrabCut learns the
    // background from.
    const double right = size.width / scale;
    const double besideHeadTo = m.eyeLineY + 0.3 * faceHeight;
    cv::rectangle(mask, at(0, 0), at(m.centreX - 0.85 * fw, besideHeadTo), cv::Scalar(cv::GC_BGD),
                  cv::FILLED);
    cv::rectangle(mask, at(m.centreX + 0.85 * fw, 0), at(right, besideHeadTo),
                  cv::Scalar(cv::GC_BGD), cv::FILLED);
    if (m.crownY - 0.35 * fw > 0) {
        cv::rectangle(mask, at(0, 0), at(right, m.crownY - 0.35 * fw), cv::Scalar(cv::GC_BGD),
                      cv::FILLED);
    }
    // In a frame of the standards the strips above rarely exist: the head fills the frame's
    // width. The top corners beyond a head wider than the face, down to the eye line, are
    // the wall all the same, and without them GrabCut has no sample of it at one side (a
    // wall of the skin's colour was then taken for the person).
    const double headMiddle = (m.crownY + m.chinY) / 2;
    const double halfWidth = 0.95 * fw;
    const double halfHeight = (m.chinY - m.crownY) / 2 + 0.1 * fw;
    const int cornersTo = std::min(size.height, int(m.eyeLineY * scale));
    for (int y = 0; y < cornersTo; ++y) {
        const double dy = (y / scale - headMiddle) / halfHeight;
        auto* label = mask.ptr<uchar>(y);
        for (int x = 0; x < size.width; ++x) {
            const double dx = (x / scale - m.centreX) / halfWidth;
            if (dx * dx + dy * dy > 1.0) {
                label[x] = cv::GC_BGD;
            }
        }
    }
    return mask;
}

cv::Mat markOpenWall(const cv::Mat& small, cv::Mat& seeds, const cv::Mat& core) {
    cv::Mat smooth;
    cv::GaussianBlur(small, smooth, cv::Size(3, 3), 0);
    cv::Mat reached = cv::Mat::zeros(small.rows + 2, small.cols + 2, CV_8U);
    const int flags = 8 | cv::FLOODFILL_MASK_ONLY | (255 << 8);
    for (int y = 0; y < small.rows; ++y) {
        const uchar* label = seeds.ptr<uchar>(y);
        for (int x = 0; x < small.cols; ++x) {
            // The wall starts from the sure background, and from the top edge where no head
            // is expected.
            const bool wall = label[x] == cv::GC_BGD || (y == 0 && label[x] == cv::GC_PR_BGD);
            if (wall && reached.at<uchar>(y + 1, x + 1) == 0) {
                cv::floodFill(smooth, reached, cv::Point(x, y), cv::Scalar(), nullptr,
                              cv::Scalar::all(kWallStep), cv::Scalar::all(kWallStep), flags);
            }
        }
    }
    cv::Mat open = reached(cv::Rect(1, 1, small.cols, small.rows)) > 0;
    const cv::Mat yielding =
        (seeds == cv::GC_PR_FGD) | (seeds == cv::GC_PR_BGD) | ((seeds == cv::GC_FGD) & (core == 0));
    seeds.setTo(cv::GC_PR_BGD, open & yielding);
    return open;
}

// Keeps the part of `person` (0/255) that holds `face`, with its holes filled.
cv::Mat keepPersonAt(const cv::Mat& person, cv::Point face) {
    cv::Mat labels;
    cv::connectedComponents(person, labels, 8, CV_32S);
    face.x = std::clamp(face.x, 0, person.cols - 1);
    face.y = std::clamp(face.y, 0, person.rows - 1);
    const int keep = labels.at<int>(face);
    cv::Mat kept = cv::Mat::zeros(person.size(), CV_8U);
    if (keep == 0) {
        return kept;
    }
    kept.setTo(255, labels == keep);
    // Holes: background parts that do not reach the frame's edge.
    cv::Mat background = 255 - kept;
    cv::Mat parts;
    const int count = cv::connectedComponents(background, parts, 4, CV_32S);
    std::vector<bool> reachesEdge(size_t(count), false);
    for (int x = 0; x < parts.cols; ++x) {
        reachesEdge[size_t(parts.at<int>(0, x))] = true;
        reachesEdge[size_t(parts.at<int>(parts.rows - 1, x))] = true;
    }
    for (int y = 0; y < parts.rows; ++y) {
        reachesEdge[size_t(parts.at<int>(y, 0))] = true;
        reachesEdge[size_t(parts.at<int>(y, parts.cols - 1))] = true;
    }
    for (int y = 0; y < parts.rows; ++y) {
        for (int x = 0; x < parts.cols; ++x) {
            const int part = parts.at<int>(y, x);
            if (part != 0 && !reachesEdge[size_t(part)]) {
                kept.at<uchar>(y, x) = 255;
            }
        }
    }
    return kept;
}

} // namespace portiqa::background
