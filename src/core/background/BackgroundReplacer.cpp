#include "core/background/BackgroundReplacer.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/ximgproc/edge_filter.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace portiqa {

namespace {

// GrabCut runs on a copy of at most this many pixels on its long side: its cost grows with
// the pixel count, and the guided filter brings the edge back to full size.
constexpr int kWorkLongSide = 200;
constexpr int kGrabCutIterations = 3;
// The soft edge: this many pixels inside the mask's edge and one outside it; farther pixels
// are the person or the colour exactly.
constexpr int kEdgeBandInside = 2;
// A background whose mean gradient (grey levels per pixel, Sobel, away from the person)
// passes this is too busy for a separation to be trusted (calibrated on the portraits of
// tests/fixtures/background: plain walls and curtains stay well below it).
constexpr double kBusyTexture = 7.0;
// A colour step (RGB distance) the eye sees across the outline, and the share of the outline
// allowed to lack it (calibrated likewise: a white collar against a white wall is such a
// stretch).
constexpr float kVisibleStep = 24.0f;
constexpr double kMostlyUnsupported = 0.25;
// The plain model of the wall: a spread floor (grey levels), the distance (in spreads) beyond
// which a colour is not the wall, and the agreement with GrabCut below which it is refused.
constexpr double kWallSpreadFloor = 6.0;
constexpr double kWallDistance = 3.5;
constexpr double kLeastAgreement = 0.75;

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

// The GrabCut seeds for a head whose measures are `m`, in the work copy's coordinates
// (`scale` from the framed picture to the copy).
cv::Mat seeds(cv::Size size, const HeadMeasures& m, double scale) {
    cv::Mat mask(size, CV_8U, cv::Scalar(cv::GC_PR_BGD));
    const auto at = [scale](double x, double y) {
        return cv::Point(int(std::lround(x * scale)), int(std::lround(y * scale)));
    };
    const auto length = [scale](double v) { return std::max(1, int(std::lround(v * scale))); };
    const double fw = m.faceWidth;
    const double bottom = size.height / scale;

    // Probably the person: the head with room for its hair, and the body widening below it.
    cv::ellipse(mask, at(m.centreX, (m.crownY - 0.2 * fw + m.chinY) / 2),
                cv::Size(length(0.8 * fw), length((m.chinY - m.crownY + 0.4 * fw) / 2)), 0, 0, 360,
                cv::Scalar(cv::GC_PR_FGD), cv::FILLED);
    // Shoulders may rise as high as the mouth in a tight frame and reach its sides.
    const std::vector<cv::Point> body{at(m.centreX - 0.6 * fw, m.chinY - 0.2 * fw),
                                      at(m.centreX + 0.6 * fw, m.chinY - 0.2 * fw),
                                      at(m.centreX + 1.6 * fw, m.chinY + 0.6 * fw),
                                      at(m.centreX + 2.4 * fw, bottom),
                                      at(m.centreX - 2.4 * fw, bottom),
                                      at(m.centreX - 1.6 * fw, m.chinY + 0.6 * fw)};
    cv::fillPoly(mask, std::vector<std::vector<cv::Point>>{body}, cv::Scalar(cv::GC_PR_FGD));

    // Surely the person: the middle of the face, the neck and the chest.
    const double faceHeight = m.chinY - m.eyeLineY;
    cv::ellipse(mask, at(m.centreX, m.eyeLineY + 0.35 * faceHeight),
                cv::Size(length(0.3 * fw), length(0.75 * faceHeight)), 0, 0, 360,
                cv::Scalar(cv::GC_FGD), cv::FILLED);
    // The skull above the eyes, whatever covers it: dark hair before a dark wall is the
    // person all the same.
    cv::ellipse(mask, at(m.centreX, m.eyeLineY - 0.35 * fw),
                cv::Size(length(0.4 * fw), length(0.38 * fw)), 0, 0, 360, cv::Scalar(cv::GC_FGD),
                cv::FILLED);
    cv::rectangle(mask, at(m.centreX - 0.15 * fw, m.chinY - 0.1 * fw),
                  at(m.centreX + 0.15 * fw, m.chinY + 0.35 * fw), cv::Scalar(cv::GC_FGD),
                  cv::FILLED);
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
    return mask;
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

// The share of the person's outline along which the picture shows no edge: the colours a few
// pixels inside and outside it differ by less than a step the eye would see. A separation
// drawn where the picture has no edge was guessed.
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

// How far the person GrabCut found agrees (intersection over union) with the person a plain
// model of the background sees: every pixel whose colour lies far from the colours of the
// background seeds. Behind a plain wall or curtain the two agree; on a busy background, or one
// whose colours the person shares, they part ways, and GrabCut's answer cannot be trusted.
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

QImage composite(const cv::Mat& bgr, const cv::Mat& alpha, QRgb colour) {
    // The old background around each edge pixel: a blur of the background alone.
    cv::Mat backgroundWeight;
    cv::compare(alpha, 0.0, backgroundWeight, cv::CMP_LE);
    backgroundWeight.convertTo(backgroundWeight, CV_32F, 1.0 / 255);
    cv::Mat image;
    bgr.convertTo(image, CV_32FC3);
    std::vector<cv::Mat> channels;
    cv::split(image, channels);
    const cv::Size kernel(21, 21);
    cv::Mat weightSum;
    cv::blur(backgroundWeight, weightSum, kernel);
    std::vector<cv::Mat> around(3);
    for (int c = 0; c < 3; ++c) {
        cv::blur(channels[size_t(c)].mul(backgroundWeight), around[size_t(c)], kernel);
    }
    const float target[3] = {float(qBlue(colour)), float(qGreen(colour)), float(qRed(colour))};
    QImage out(bgr.cols, bgr.rows, QImage::Format_RGB32);
    for (int y = 0; y < bgr.rows; ++y) {
        const auto* a = alpha.ptr<float>(y);
        const auto* in = bgr.ptr<cv::Vec3b>(y);
        const auto* w = weightSum.ptr<float>(y);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < bgr.cols; ++x) {
            if (a[x] >= 1.0f) {
                line[x] = qRgb(in[x][2], in[x][1], in[x][0]);
                continue;
            }
            if (a[x] <= 0.0f) {
                line[x] = colour | 0xff000000u;
                continue;
            }
            float mixed[3];
            for (int c = 0; c < 3; ++c) {
                const float observed = in[x][c];
                const float old =
                    w[x] > 1e-3f ? around[size_t(c)].at<float>(y, x) / w[x] : observed;
                // The person's own colour: what is left once the old background's share is
                // taken out.
                const float own =
                    std::clamp((observed - (1 - a[x]) * old) / std::max(a[x], 0.05f), 0.0f, 255.0f);
                mixed[c] = a[x] * own + (1 - a[x]) * target[c];
            }
            line[x] = qRgb(int(std::lround(mixed[2])), int(std::lround(mixed[1])),
                           int(std::lround(mixed[0])));
        }
    }
    return out;
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
    }
    return {};
}

BackgroundReplacement replaceBackground(const QImage& framed, const DetectedFaces& faces,
                                        QRgb colour, BackgroundMeasures* measures) {
    BackgroundReplacement result;
    result.picture = framed;
    const DetectedFace* face = HeadEstimate::largest(faces);
    if (framed.width() < 16 || framed.height() < 16 || face == nullptr) {
        return result;
    }
    const HeadMeasures head = HeadEstimate::measure(*face);
    if (head.faceWidth < 8 || head.centreX < 0 || head.centreX >= framed.width() ||
        head.chinY <= 0 || head.eyeLineY >= framed.height()) {
        return result;
    }

    const cv::Mat bgr = toBgr(framed);
    const double scale =
        std::min(1.0, double(kWorkLongSide) / std::max(framed.width(), framed.height()));
    cv::Mat small;
    cv::resize(bgr, small, cv::Size(), scale, scale, cv::INTER_AREA);
    cv::Mat mask = seeds(small.size(), head, scale);
    const cv::Mat seedMask = mask.clone();
    cv::Mat backgroundModel;
    cv::Mat personModel;
    try {
        cv::grabCut(small, mask, cv::Rect(), backgroundModel, personModel, kGrabCutIterations,
                    cv::GC_INIT_WITH_MASK);
    } catch (const cv::Exception&) {
        result.outcome = BackgroundReplacement::Outcome::UnclearPerson;
        return result;
    }
    cv::Mat person = (mask & 1) * 255; // GC_FGD and GC_PR_FGD
    const cv::Point faceAtWork(int(head.centreX * scale),
                               int((head.eyeLineY + head.chinY) / 2 * scale));
    person = keepPersonAt(person, faceAtWork);
    const double agreement = agreementWithPlainModel(small, seedMask, person, faceAtWork);

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
    binary =
        keepPersonAt(binary, cv::Point(int(head.centreX), int((head.eyeLineY + head.chinY) / 2)));
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
    judged.backgroundTexture = backgroundTexture(bgr, farBackground);
    judged.unsupportedOutline = unsupportedOutline(bgr, binary);
    judged.agreement = agreement;
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
    if (judged.backgroundTexture > kBusyTexture || judged.unsupportedOutline > kMostlyUnsupported ||
        judged.agreement < kLeastAgreement) {
        result.outcome = BackgroundReplacement::Outcome::BusyBackground;
        return result;
    }

    result.outcome = BackgroundReplacement::Outcome::Replaced;
    result.picture = composite(bgr, alpha, colour);
    cv::Mat alpha8;
    alpha.convertTo(alpha8, CV_8U, 255);
    result.alpha =
        QImage(alpha8.data, alpha8.cols, alpha8.rows, int(alpha8.step), QImage::Format_Grayscale8)
            .copy();
    return result;
}

} // namespace portiqa
