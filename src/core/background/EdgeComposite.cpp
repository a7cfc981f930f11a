#include "core/background/EdgeComposite.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace portiqa::background {

namespace {

// How far (0 to 255) the person's own colour at the edge may lie beyond both the colour seen
// there and the person's colour deeper in.
constexpr float kColourSlack = 10.0f;

// Where a pixel of the output falls on the picture the edge was worked out on, along one
// axis: the two neighbours and the weight of the second (bilinear). At the same size every
// pixel falls on itself.
struct Samples {
    std::vector<int> first;
    std::vector<float> weight;
};

Samples samplesAlong(int outputLength, int workLength) {
    Samples samples;
    samples.first.resize(size_t(outputLength));
    samples.weight.resize(size_t(outputLength));
    const double step = double(workLength) / outputLength;
    for (int i = 0; i < outputLength; ++i) {
        const double at = std::clamp((i + 0.5) * step - 0.5, 0.0, double(workLength - 1));
        const int first = std::min(int(at), workLength - 1);
        samples.first[size_t(i)] = first;
        samples.weight[size_t(i)] = first + 1 < workLength ? float(at - first) : 0.0f;
    }
    return samples;
}

} // namespace

WallAround wallAround(const cv::Mat& bgr, const cv::Mat& alpha) {
    WallAround around;
    cv::Mat backgroundWeight;
    cv::compare(alpha, 0.0, backgroundWeight, cv::CMP_LE);
    backgroundWeight.convertTo(backgroundWeight, CV_32F, 1.0 / 255);
    cv::Mat image;
    bgr.convertTo(image, CV_32FC3);
    std::vector<cv::Mat> channels;
    cv::split(image, channels);
    const cv::Size kernel(21, 21);
    cv::blur(backgroundWeight, around.weight, kernel);
    around.colour.resize(3);
    for (int c = 0; c < 3; ++c) {
        cv::blur(channels[size_t(c)].mul(backgroundWeight), around.colour[size_t(c)], kernel);
    }
    return around;
}

QImage composite(const QImage& rgb, const cv::Mat& alpha, const WallAround& around,
                 const cv::Mat& personColour, QRgb colour, QImage& alphaOut) {
    QImage out(rgb.size(), QImage::Format_RGB32);
    alphaOut = QImage(rgb.size(), QImage::Format_Grayscale8);
    if (out.isNull() || alphaOut.isNull()) {
        return {};
    }
    const Samples columns = samplesAlong(rgb.width(), alpha.cols);
    const Samples rows = samplesAlong(rgb.height(), alpha.rows);
    const float target[3] = {float(qBlue(colour)), float(qGreen(colour)), float(qRed(colour))};
    for (int y = 0; y < rgb.height(); ++y) {
        const int wy0 = rows.first[size_t(y)];
        const int wy1 = std::min(wy0 + 1, alpha.rows - 1);
        const float fy = rows.weight[size_t(y)];
        const auto* a0 = alpha.ptr<float>(wy0);
        const auto* a1 = alpha.ptr<float>(wy1);
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        uchar* shares = alphaOut.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const int wx0 = columns.first[size_t(x)];
            const int wx1 = std::min(wx0 + 1, alpha.cols - 1);
            const float fx = columns.weight[size_t(x)];
            const float a = (a0[wx0] * (1 - fx) + a0[wx1] * fx) * (1 - fy) +
                            (a1[wx0] * (1 - fx) + a1[wx1] * fx) * fy;
            shares[x] = cv::saturate_cast<uchar>(double(a) * 255.0);
            if (a >= 1.0f) {
                line[x] = in[x] | 0xff000000u;
                continue;
            }
            if (a <= 0.0f) {
                line[x] = colour | 0xff000000u;
                continue;
            }
            const int ny = fy < 0.5f ? wy0 : wy1;
            const int nx = fx < 0.5f ? wx0 : wx1;
            const float w = around.weight.at<float>(ny, nx);
            const float observed[3] = {float(qBlue(in[x])), float(qGreen(in[x])),
                                       float(qRed(in[x]))};
            const cv::Vec3f deeper =
                personColour.empty() ? cv::Vec3f() : personColour.at<cv::Vec3f>(ny, nx);
            float mixed[3];
            for (int c = 0; c < 3; ++c) {
                const float old =
                    w > 1e-3f ? around.colour[size_t(c)].at<float>(ny, nx) / w : observed[c];
                // The person's own colour: what is left once the old background's share is
                // taken out.
                float own =
                    std::clamp((observed[c] - (1 - a) * old) / std::max(a, 0.05f), 0.0f, 255.0f);
                // A share of the person taken too small would push it far past the person's
                // colour (a light rim round dark hair on a dark wall): it lies between what
                // is seen and the person's colour deeper in.
                if (!personColour.empty() && deeper[0] >= 0) {
                    own = std::clamp(own, std::min(observed[c], deeper[c]) - kColourSlack,
                                     std::max(observed[c], deeper[c]) + kColourSlack);
                }
                mixed[c] = a * own + (1 - a) * target[c];
            }
            line[x] = qRgb(int(std::lround(mixed[2])), int(std::lround(mixed[1])),
                           int(std::lround(mixed[0])));
        }
    }
    return out;
}

} // namespace portiqa::background
