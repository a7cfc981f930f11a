#include "core/face/HeadTop.h"

#include "core/face/RepeatableGrabCut.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace portiqa {

namespace {

// Distances in face widths from the eye line and the face's middle.
constexpr double kAbove = 1.7;           // the region searched reaches this far above the eyes,
constexpr double kBelow = 0.6;           // this far below them
constexpr double kSide = 1.3;            // and this far to each side
constexpr double kSureOutside = 1.1;     // beside the head from here on, above the cheeks
constexpr double kSureOutsideFrom = 0.8; // (above the shoulders and long hair)
constexpr double kSureAbove = 1.45;      // and above the head from here on
constexpr double kFaceHalf = 0.3;        // the face itself: the middle of forehead, eyes and nose
constexpr double kForehead = 0.35;
constexpr double kMouth = 0.5;
constexpr double kHeadHalf = 0.6; // probably the head: the column over the face,
constexpr double kHeadUp = 1.2;   // as high as the tallest hair
// No head ends lower: a cut that stops here stopped at the hairline (hair like the wall).
constexpr double kLowestTop = 0.64;
// A row belongs to the head while this share of the strip over the face's middle does.
constexpr double kHeadShare = 0.3;
constexpr double kWorkingFaceWidth = 32; // the region is cut at this many pixels per face width
constexpr int kIterations = 3;
constexpr std::uint64_t kSeed = 0x9e3779b9;

} // namespace

std::optional<HeadTopFound> HeadTop::find(const QImage& source, const HeadTopSearch& head) {
    const double fw = head.faceWidth;
    if (source.isNull() || fw < 8) {
        return std::nullopt;
    }
    const QRect region = QRect(QPoint(int(std::floor(head.centreX - kSide * fw)),
                                      int(std::floor(head.eyeLineY - kAbove * fw))),
                               QPoint(int(std::ceil(head.centreX + kSide * fw)),
                                      int(std::ceil(head.eyeLineY + kBelow * fw)))) &
                         source.rect();
    if (region.height() < fw || region.width() < fw) {
        return std::nullopt;
    }
    const double scale = std::min(1.0, kWorkingFaceWidth / fw);
    const QImage cut = source.copy(region)
                           .scaled(std::max(8, int(region.width() * scale)),
                                   std::max(8, int(region.height() * scale)), Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_RGB888);
    const double sx = double(cut.width()) / region.width();
    const double sy = double(cut.height()) / region.height();
    // Picture -> cut coordinates.
    auto col = [&](double x) { return (x - region.left()) * sx; };
    auto row = [&](double y) { return (y - region.top()) * sy; };
    const double cx = col(head.centreX);
    const double eye = row(head.eyeLineY);
    const double w = fw * sx; // the face width in the cut
    const double h = fw * sy;

    cv::Mat mask(cut.height(), cut.width(), CV_8UC1, cv::Scalar(cv::GC_PR_BGD));
    for (int y = 0; y < cut.height(); ++y) {
        uchar* m = mask.ptr<uchar>(y);
        const double up = (eye - y) / h; // face widths above the eye line
        for (int x = 0; x < cut.width(); ++x) {
            const double side = std::abs(x - cx) / w;
            if (side < kFaceHalf && up <= kForehead && up >= -kMouth) {
                m[x] = cv::GC_FGD;
            } else if ((side > kSureOutside && up > kSureOutsideFrom) || up > kSureAbove) {
                m[x] = cv::GC_BGD;
            } else if (side < kHeadHalf && up <= kHeadUp) {
                m[x] = cv::GC_PR_FGD;
            }
        }
    }
    const cv::Mat pixels(cut.height(), cut.width(), CV_8UC3, const_cast<uchar*>(cut.constBits()),
                         size_t(cut.bytesPerLine()));
    if (!repeatableGrabCut(pixels, mask, kIterations, kSeed)) {
        return std::nullopt;
    }

    // Up the strip over the face's middle from the forehead until the rows leave the head.
    const int left = std::max(0, int(std::lround(cx - kFaceHalf * w)));
    const int right = std::min(cut.width() - 1, int(std::lround(cx + kFaceHalf * w)));
    const int needed = std::max(1, int(std::ceil(kHeadShare * (right - left + 1))));
    int top = -1;
    for (int y = std::min(cut.height() - 1, int(std::lround(eye - kForehead * h))); y >= 0; --y) {
        const uchar* m = mask.ptr<uchar>(y);
        int inHead = 0;
        for (int x = left; x <= right; ++x) {
            inHead += (m[x] == cv::GC_FGD || m[x] == cv::GC_PR_FGD) ? 1 : 0;
        }
        if (inHead < needed) {
            break;
        }
        top = y;
    }
    if (top < 0) {
        return std::nullopt;
    }
    HeadTopFound found;
    found.atPictureTop = top == 0 && region.top() == 0;
    found.y = found.atPictureTop ? 0.0 : region.top() + top / sy;
    if (head.eyeLineY - found.y < kLowestTop * fw) {
        return std::nullopt;
    }
    return found;
}

} // namespace portiqa
