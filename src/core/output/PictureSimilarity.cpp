#include "core/output/PictureSimilarity.h"

#include "core/output/JpegPlanes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace portiqa {

namespace {

constexpr int kWindow = 8;
constexpr double kC1 = (0.01 * 255) * (0.01 * 255);
constexpr double kC2 = (0.03 * 255) * (0.03 * 255);

using Plane = std::vector<std::uint8_t>;

// Y, Cb and Cr (full-range BT.601, fixed point), as JPEG codes them.
std::array<Plane, 3> planesOf(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const size_t n = size_t(rgb.width()) * size_t(rgb.height());
    std::array<Plane, 3> planes{Plane(n), Plane(n), Plane(n)};
    size_t i = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x, ++i) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            planes[0][i] = std::uint8_t((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
            planes[1][i] = std::uint8_t(std::clamp(
                (-11059 * r - 21709 * g + 32768 * b + (128 << 16) + 32768) >> 16, 0, 255));
            planes[2][i] = std::uint8_t(
                std::clamp((32768 * r - 27439 * g - 5329 * b + (128 << 16) + 32768) >> 16, 0, 255));
        }
    }
    return planes;
}

// Mean SSIM over the 8 x 8 windows that tile the plane.
double ssim(const Plane& a, const Plane& b, int width, int height) {
    double sum = 0;
    int windows = 0;
    for (int y0 = 0; y0 + kWindow <= height; y0 += kWindow) {
        for (int x0 = 0; x0 + kWindow <= width; x0 += kWindow) {
            std::int64_t sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
            for (int y = y0; y < y0 + kWindow; ++y) {
                const std::uint8_t* pa = a.data() + size_t(y) * size_t(width) + size_t(x0);
                const std::uint8_t* pb = b.data() + size_t(y) * size_t(width) + size_t(x0);
                for (int x = 0; x < kWindow; ++x) {
                    const int va = pa[x], vb = pb[x];
                    sa += va;
                    sb += vb;
                    saa += va * va;
                    sbb += vb * vb;
                    sab += va * vb;
                }
            }
            constexpr double n = kWindow * kWindow;
            const double ma = double(sa) / n, mb = double(sb) / n;
            const double va = double(saa) / n - ma * ma, vb = double(sbb) / n - mb * mb;
            const double cov = double(sab) / n - ma * mb;
            sum += ((2 * ma * mb + kC1) * (2 * cov + kC2)) /
                   ((ma * ma + mb * mb + kC1) * (va + vb + kC2));
            ++windows;
        }
    }
    return windows > 0 ? sum / windows : 1.0;
}

} // namespace

struct SimilarityReference::Planes {
    std::array<Plane, 3> planes;
    int width = 0;
    int height = 0;
};

SimilarityReference::SimilarityReference(const QImage& original) {
    auto planes = std::make_shared<Planes>();
    if (!original.isNull()) {
        planes->planes = planesOf(original);
        planes->width = original.width();
        planes->height = original.height();
    }
    planes_ = std::move(planes);
}

double SimilarityReference::similarity(const QImage& decoded) const {
    if (planes_->width == 0 || decoded.size() != QSize(planes_->width, planes_->height)) {
        return 0;
    }
    const auto b = planesOf(decoded);
    const auto& a = planes_->planes;
    const int w = planes_->width, h = planes_->height;
    return (8 * ssim(a[0], b[0], w, h) + ssim(a[1], b[1], w, h) + ssim(a[2], b[2], w, h)) / 10;
}

SimilarityReference::PlaneSimilarity
SimilarityReference::planesOfJpeg(const QByteArray& file) const {
    JpegPlanes decoded;
    if (!decodeJpegPlanes(file, decoded) || decoded.width != planes_->width ||
        decoded.height != planes_->height || planes_->width == 0) {
        return {};
    }
    const auto& a = planes_->planes;
    const auto& b = decoded.planes;
    const int w = planes_->width, h = planes_->height;
    PlaneSimilarity result;
    result.luma = ssim(a[0], b[0], w, h);
    result.chroma = (ssim(a[1], b[1], w, h) + ssim(a[2], b[2], w, h)) / 2;
    return result;
}

double pictureSimilarity(const QImage& original, const QImage& decoded) {
    return SimilarityReference(original).similarity(decoded);
}

double peakSignalToNoise(const QImage& original, const QImage& decoded) {
    if (original.isNull() || original.size() != decoded.size()) {
        return 0;
    }
    const QImage a = original.convertToFormat(QImage::Format_RGB32);
    const QImage b = decoded.convertToFormat(QImage::Format_RGB32);
    double squared = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const double dr = qRed(la[x]) - qRed(lb[x]);
            const double dg = qGreen(la[x]) - qGreen(lb[x]);
            const double db = qBlue(la[x]) - qBlue(lb[x]);
            squared += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = squared / (3.0 * a.width() * a.height());
    return mse <= 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace portiqa
