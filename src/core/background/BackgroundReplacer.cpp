#include "core/background/BackgroundReplacer.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/ximgproc/edge_filter.hpp>

#include "core/background/EdgeComposite.h"
#include "core/background/PersonMask.h"
#include "core/background/SeparationChecks.h"
#include "core/background/ShoulderLine.h"
#include "core/background/WallTint.h"
#include "core/face/RepeatableGrabCut.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace portiqa {

namespace {

// GrabCut runs on a copy of at most this many pixels on its long side: its cost grows with
// the pixel count, and the guided filter brings the edge back to full size.
constexpr int kWorkLongSide = 200;
constexpr int kGrabCutIterations = 3;
// OpenCV's own initial state of a thread's random generator.
constexpr std::uint64_t kGrabCutSeed = 0xffffffffu;
// Pixels this close to the shoulders' edge (work copy's pixels) are left to GrabCut.
constexpr int kShoulderMargin = 2;
// The soft edge: this many pixels inside the mask's edge and one outside it; farther pixels
// are the person or the colour exactly.
constexpr int kEdgeBandInside = 2;
// How deep into the person (px, in a frame of 358 × 441; in proportion in others) the old
// wall's colour may be mixed where the photo is blurred.
constexpr int kTintDepth = 4;
constexpr QSize kStandardFrame(358, 441);
// A background whose mean gradient (grey levels per pixel, Sobel, away from the person)
// passes this is too busy for a separation to be trusted (calibrated on the portraits of
// tests/fixtures/background: plain walls and curtains stay well below it).
constexpr double kBusyTexture = 7.0;
// The share of the outline allowed to lack a visible edge (calibrated likewise: a white
// collar against a white wall is such a stretch).
constexpr double kMostlyUnsupported = 0.25;
// The agreement with the plain model of the wall below which a separation is refused.
constexpr double kLeastAgreement = 0.75;
// A wall whose strongest tenth of gradient passes this many grey levels per pixel is full of
// things (shelves, leaves, a street, a backdrop's folds) rather than one surface with a seam:
// the plain model learns such a wall from a part of it, and GrabCut and the plain model can
// both take what stands beside the person for the person. There the two must agree closely.
// (Calibrated at the standard sizes on tests/fixtures/faces: the plain walls stay under 7, a
// collage's seams included; the busy rooms that got through in a wider frame reach 8.6 and
// more with an agreement of at most 0.9; the one textured wall over 8 that separates cleanly
// agrees at 0.96.)
constexpr double kTexturedWall = 8.0;
constexpr double kTexturedWallAgreement = 0.93;
// Past this many pixels a frame is separated, and its soft edge worked out, on a copy of
// about this size: that work holds some hundred bytes per pixel, which the largest output
// sizes (10000 x 10000) would turn into gigabytes. The standard sizes are far below it.
constexpr double kFinePixelLimit = 1.0e6;

cv::Mat toBgr(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    cv::Mat bgr(rgb.height(), rgb.width(), CV_8UC3);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto* out = bgr.ptr<cv::Vec3b>(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out[x] = cv::Vec3b(uchar(qBlue(in[x])), uchar(qGreen(in[x])), uchar(qRed(in[x])));
        }
    }
    return bgr;
}

} // namespace

QString BackgroundReplacement::refusal() const {
    switch (outcome) {
    case Outcome::Replaced:
        return {};
    case Outcome::NoFace:
        return QStringLiteral("未检测到人脸，未更换背景颜色");
    case Outcome::BusyBackground:
        return QStringLiteral("背景较复杂，未更换背景颜色");
    case Outcome::UnclearPerson:
        return QStringLiteral("未能分清人像与背景，未更换背景颜色");
    case Outcome::OutOfMemory:
        return QStringLiteral("内存不足，未更换背景颜色");
    }
    return {};
}

BackgroundReplacement placedInFrame(const QImage& framed, const QRect& inside,
                                    const BackgroundReplacement& part, QRgb colour) {
    BackgroundReplacement whole = part;
    if (!part.replaced()) {
        whole.picture = framed;
        return whole;
    }
    whole.picture = QImage(framed.size(), QImage::Format_RGB32);
    whole.picture.fill(colour);
    whole.alpha = QImage(framed.size(), QImage::Format_Grayscale8);
    whole.alpha.fill(0);
    const QImage replaced = part.picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < inside.height(); ++y) {
        std::memcpy(whole.picture.scanLine(inside.top() + y) + inside.left() * 4,
                    replaced.constScanLine(y), size_t(inside.width()) * 4);
        std::memcpy(whole.alpha.scanLine(inside.top() + y) + inside.left(),
                    part.alpha.constScanLine(y), size_t(inside.width()));
    }
    return whole;
}

namespace {

// What the separation of a picture came to: the person's share of each pixel (CV_32F) and the
// picture it was worked out on (BGR) when it can be trusted.
struct Separation {
    BackgroundReplacement::Outcome outcome = BackgroundReplacement::Outcome::NoFace;
    cv::Mat bgr;
    cv::Mat alpha;
    cv::Mat personColour; // the person's colour deeper in, near each pixel
};

Separation separate(const QImage& framed, const DetectedFaces& faces,
                    BackgroundMeasures* measures) {
    Separation result;
    const DetectedFace* face = HeadEstimate::largest(faces);
    if (framed.width() < 16 || framed.height() < 16 || face == nullptr) {
        return result;
    }
    const HeadMeasures head = HeadEstimate::measure(*face);
    // A face in the frame, of a size a frame can hold (the seeds are drawn to its measures;
    // a chin thousands of frames away would take seconds to draw).
    const double w = framed.width();
    const double h = framed.height();
    const bool inFrame = head.faceWidth >= 8 && head.faceWidth <= 4 * w && head.centreX >= 0 &&
                         head.centreX < w && head.chinY > 0 && head.eyeLineY < h &&
                         head.chinY > head.eyeLineY && head.chinY - head.eyeLineY <= 4 * h &&
                         std::isfinite(head.crownY) && std::abs(head.crownY) <= 4 * h;
    if (!inFrame) {
        return result;
    }

    const cv::Mat bgr = toBgr(framed);
    const double scale =
        std::min(1.0, double(kWorkLongSide) / std::max(framed.width(), framed.height()));
    cv::Mat small;
    cv::resize(bgr, small, cv::Size(), scale, scale, cv::INTER_AREA);
    cv::Mat mask = background::personSeeds(small.size(), head, scale);
    // The clothes below the shoulders' edge are the person, whatever their colour: a light
    // collar under a dark wall falls outside the body the face predicts.
    background::markBelowShoulders(background::findShoulders(small, head, scale), kShoulderMargin,
                                   mask);
    const cv::Mat openWall =
        background::markOpenWall(small, mask, background::faceCore(small.size(), head, scale));
    const cv::Mat seedMask = mask.clone();
    // The same picture is separated (and so refused or replaced) the same way wherever it runs.
    if (!repeatableGrabCut(small, mask, kGrabCutIterations, kGrabCutSeed)) {
        result.outcome = BackgroundReplacement::Outcome::UnclearPerson;
        return result;
    }
    cv::Mat person = (mask & 1) * 255; // GC_FGD and GC_PR_FGD
    const cv::Point faceAtWork(int(head.centreX * scale),
                               int((head.eyeLineY + head.chinY) / 2 * scale));
    person = background::keepPersonAt(person, faceAtWork);
    const double agreement =
        background::agreementWithPlainModel(small, seedMask, person, faceAtWork, openWall);

    // The edge at full size, fitted to the picture's edges.
    cv::Mat coarse;
    cv::resize(person, coarse, bgr.size(), 0, 0, cv::INTER_LINEAR);
    coarse.convertTo(coarse, CV_32F, 1.0 / 255);
    cv::Mat alpha;
    const int radius = std::max(2, int(std::lround(2.5 / scale)));
    cv::ximgproc::guidedFilter(bgr, coarse, alpha, radius, 0.02 * 255 * 255, CV_32F);
    cv::Mat binary;
    cv::compare(alpha, 0.5, binary, cv::CMP_GE);
    // The filter may open thin gaps along strong edges inside the person (chin over neck,
    // collar over shirt): the person stays one piece without holes, and pixels the filter
    // took from it away from its outline are given back.
    binary = background::keepPersonAt(
        binary, cv::Point(int(head.centreX), int((head.eyeLineY + head.chinY) / 2)));
    cv::Mat grown;
    cv::Mat shrunk;
    cv::dilate(binary, grown, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    cv::erode(binary, shrunk,
              cv::getStructuringElement(
                  cv::MORPH_RECT, cv::Size(2 * kEdgeBandInside + 1, 2 * kEdgeBandInside + 1)));
    alpha = cv::max(cv::min(alpha, 1.0), 0.0);
    alpha.setTo(1.0, shrunk);
    alpha.setTo(0.0, 255 - grown);
    // The outline's own pixels carry the old wall's colour mixed into the person's: each is
    // given no more of the person than its neighbours outward, which moves the mix into
    // the decontaminated edge instead of leaving a thin rim of the old colour.
    cv::Mat inward;
    cv::erode(alpha, inward, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    inward.copyTo(alpha, grown - shrunk);
    // A blurred photo mixes the old wall into the person a few pixels deep.
    const double sizeToStandard =
        std::sqrt(double(bgr.cols) * bgr.rows / (kStandardFrame.width() * kStandardFrame.height()));
    cv::Mat personColour;
    background::fadeWallTint(bgr, binary,
                             std::clamp(int(std::lround(kTintDepth * sizeToStandard)), 2, 12),
                             alpha, personColour);
    // Nearly certain pixels are certain: no faint veil of colour over the person or the wall.
    alpha.setTo(1.0, alpha > 0.97);
    alpha.setTo(0.0, alpha < 0.03);

    // Judging the result.
    const double total = double(framed.width()) * framed.height();
    BackgroundMeasures judged;
    judged.personShare = cv::countNonZero(binary) / total;
    judged.bottomShare = cv::countNonZero(binary.row(binary.rows - 1)) / double(binary.cols);
    cv::Mat farBackground;
    cv::erode(255 - binary, farBackground,
              cv::getStructuringElement(cv::MORPH_RECT, cv::Size(13, 13)));
    const background::BackgroundGradient gradient =
        background::backgroundGradient(bgr, farBackground);
    judged.backgroundTexture = gradient.mean;
    judged.strongGradient = gradient.strongest;
    judged.unsupportedOutline = background::unsupportedOutline(bgr, binary);
    judged.agreement = agreement;
    judged.person =
        QImage(binary.data, binary.cols, binary.rows, int(binary.step), QImage::Format_Grayscale8)
            .copy();
    if (measures != nullptr) {
        *measures = judged;
    }
    const bool headAndShoulders = judged.personShare > 0.15 && judged.personShare < 0.9 &&
                                  judged.bottomShare > 0.2 &&
                                  cv::countNonZero(binary.row(0)) < binary.cols * 0.9;
    if (!headAndShoulders) {
        result.outcome = BackgroundReplacement::Outcome::UnclearPerson;
        return result;
    }
    const bool texturedWall =
        judged.strongGradient > kTexturedWall && judged.agreement < kTexturedWallAgreement;
    if (judged.backgroundTexture > kBusyTexture || judged.unsupportedOutline > kMostlyUnsupported ||
        judged.agreement < kLeastAgreement || texturedWall) {
        result.outcome = BackgroundReplacement::Outcome::BusyBackground;
        return result;
    }

    result.outcome = BackgroundReplacement::Outcome::Replaced;
    result.bgr = bgr;
    result.alpha = alpha;
    result.personColour = personColour;
    return result;
}

} // namespace

BackgroundReplacement replaceBackground(const QImage& framed, const DetectedFaces& faces,
                                        QRgb colour, BackgroundMeasures* measures) {
    using Outcome = BackgroundReplacement::Outcome;
    BackgroundReplacement result;
    try {
        const QImage rgb = framed.convertToFormat(QImage::Format_RGB32);
        if (rgb.isNull() && !framed.isNull()) {
            throw std::bad_alloc();
        }
        // A frame past the limit is separated on a copy of about the limit's size; its soft
        // edge is then brought up to the frame's size.
        const double pixels = double(rgb.width()) * rgb.height();
        QImage work = rgb;
        DetectedFaces workFaces = faces;
        if (pixels > kFinePixelLimit) {
            const double factor = std::sqrt(kFinePixelLimit / pixels);
            const QSize size(std::max(16, int(std::lround(rgb.width() * factor))),
                             std::max(16, int(std::lround(rgb.height() * factor))));
            work = rgb.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            if (work.isNull()) {
                throw std::bad_alloc();
            }
            for (DetectedFace& face : workFaces) {
                face = face.scaled(double(size.width()) / rgb.width(),
                                   double(size.height()) / rgb.height());
            }
        }
        const Separation separation = separate(work, workFaces, measures);
        result.outcome = separation.outcome;
        if (separation.outcome == Outcome::Replaced) {
            result.picture = background::composite(
                rgb, separation.alpha, background::wallAround(separation.bgr, separation.alpha),
                separation.personColour, colour, result.alpha);
            if (result.picture.isNull()) {
                result.outcome = Outcome::OutOfMemory;
            }
        }
    } catch (const std::bad_alloc&) {
        result.outcome = Outcome::OutOfMemory;
    } catch (const cv::Exception& e) {
        result.outcome =
            e.code == cv::Error::StsNoMem ? Outcome::OutOfMemory : Outcome::UnclearPerson;
    }
    if (!result.replaced()) {
        result.picture = framed;
        result.alpha = QImage();
    }
    return result;
}

} // namespace portiqa
