#include "core/output/PictureSimilarity.h"

#include <array>
#include <cmath>
#include <vector>

namespace portiqa {

namespace {

constexpr int kWindow = 8;
constexpr int kStep = 4;
constexpr double kC1 = (0.01 * 255) * (0.01 * 255);
constexpr double kC2 = (0.03 * 255) * (0.03 * 255);

using Plane = std::vector<float>;

// Y, Cb and Cr (full-range BT.601), as JPEG codes them.
std::array<Plane, 3> planesOf(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const size_t n = size_t(rgb.width()) * size_t(rgb.height());
    std::array<Plane, 3> planes{Plane(n), Plane(n), Plane(n)};
    size_t i = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x, ++i) {
            const double r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            planes[0][i] = float(0.299 * r + 0.587 * g + 0.114 * b);
            planes[1][i] = float(-0.168736 * r - 0.331264 * g + 0.5 * b + 128);
            planes[2][i] = float(0.5 * r - 0.418688 * g - 0.081312 * b + 128);
        }
    }
    return planes;
}

double ssim(const Plane& a, const Plane& b, int width, int height) {
    double sum = 0;
    int windows = 0;
    for (int y0 = 0; y0 + kWindow <= height; y0 += kStep) {
        for (int x0 = 0; x0 + kWindow <= width; x0 += kStep) {
            double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
            for (int y = y0; y < y0 + kWindow; ++y) {
                const size_t row = size_t(y) * size_t(width);
                for (int x = x0; x < x0 + kWindow; ++x) {
                    const double va = a[row + size_t(x)], vb = b[row + size_t(x)];
                    sa += va;
                    sb += vb;
                    saa += va * va;
                    sbb += vb * vb;
                    sab += va * vb;
                }
            }
            constexpr double n = kWindow * kWindow;
            const double ma = sa / n, mb = sb / n;
            const double va = saa / n - ma * ma, vb = sbb / n - mb * mb;
            const double cov = sab / n - ma * mb;
            sum += ((2 * ma * mb + kC1) * (2 * cov + kC2)) /
                   ((ma * ma + mb * mb + kC1) * (va + vb + kC2));
            ++windows;
        }
    }
    return windows > 0 ? sum / windows : 1.0;
}

} // namespace

double pictureSimilarity(const QImage& original, const QImage& decoded) {
    if (original.isNull() || original.size() != decoded.size()) {
        return 0;
    }
    const auto a = planesOf(original);
    const auto b = planesOf(decoded);
    const int w = original.width(), h = original.height();
    return (8 * ssim(a[0], b[0], w, h) + ssim(a[1], b[1], w, h) + ssim(a[2], b[2], w, h)) / 10;
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
