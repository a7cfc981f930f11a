#include "core/output/PreparedJpeg.h"

#include "core/output/JpegSession.h" // jpeglib.h with its prerequisites
#include "core/output/JpegWriter.h"
#include "core/output/OpaqueImage.h"

#include <algorithm>

namespace portiqa {

namespace {

constexpr int kMaxJpegSide = 65500;
constexpr int kBlock = 8;
constexpr int kBlockArea = 64;

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// RGB to YCbCr in 16-bit fixed point, the sums libjpeg's colour converter forms from its
// tables: Y rounds half up, Cb and Cr round with 0.5 - epsilon so that 255 stays 255.
namespace colour {
constexpr int kScaleBits = 16;
constexpr std::int32_t fix(double x) {
    return std::int32_t(x * (std::int32_t(1) << kScaleBits) + 0.5);
}
constexpr std::int32_t kHalf = std::int32_t(1) << (kScaleBits - 1);
constexpr std::int32_t kChromaOffset = (std::int32_t(128) << kScaleBits) + kHalf - 1;

inline std::uint8_t luma(int r, int g, int b) {
    return std::uint8_t((fix(0.29900) * r + fix(0.58700) * g + fix(0.11400) * b + kHalf) >>
                        kScaleBits);
}
inline std::uint8_t blueDifference(int r, int g, int b) {
    return std::uint8_t((-fix(0.16874) * r - fix(0.33126) * g + fix(0.50000) * b + kChromaOffset) >>
                        kScaleBits);
}
inline std::uint8_t redDifference(int r, int g, int b) {
    return std::uint8_t((fix(0.50000) * r - fix(0.41869) * g - fix(0.08131) * b + kChromaOffset) >>
                        kScaleBits);
}
} // namespace colour

// The accurate integer forward DCT (Loeffler, Ligtenberg and Moschytz) with libjpeg's fixed-point
// constants and descaling, so that its output matches the library's to the bit. Results are
// scaled up by 8, which the quantiser's divisors take into account.
namespace dct {
constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;
constexpr std::int32_t k0_298631336 = 2446, k0_390180644 = 3196, k0_541196100 = 4433,
                       k0_765366865 = 6270, k0_899976223 = 7373, k1_175875602 = 9633,
                       k1_501321110 = 12299, k1_847759065 = 15137, k1_961570560 = 16069,
                       k2_053119869 = 16819, k2_562915447 = 20995, k3_072711026 = 25172;

inline std::int32_t descale(std::int32_t x, int n) {
    return (x + (std::int32_t(1) << (n - 1))) >> n; // arithmetic shift, as libjpeg assumes
}

// One 8-point pass over data[0], data[step], ... data[7 * step].
template <bool kRows> inline void pass(std::int32_t* d, int step) {
    const int plainShift = kRows ? 0 : kPass1Bits;
    const int rotationShift = kRows ? kConstBits - kPass1Bits : kConstBits + kPass1Bits;
    std::int32_t tmp0 = d[0] + d[7 * step], tmp7 = d[0] - d[7 * step];
    std::int32_t tmp1 = d[step] + d[6 * step], tmp6 = d[step] - d[6 * step];
    std::int32_t tmp2 = d[2 * step] + d[5 * step], tmp5 = d[2 * step] - d[5 * step];
    std::int32_t tmp3 = d[3 * step] + d[4 * step], tmp4 = d[3 * step] - d[4 * step];

    const std::int32_t tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    const std::int32_t tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    if (kRows) {
        d[0] = (tmp10 + tmp11) * (1 << kPass1Bits);
        d[4 * step] = (tmp10 - tmp11) * (1 << kPass1Bits);
    } else {
        d[0] = descale(tmp10 + tmp11, plainShift);
        d[4 * step] = descale(tmp10 - tmp11, plainShift);
    }
    std::int32_t z1 = (tmp12 + tmp13) * k0_541196100;
    d[2 * step] = descale(z1 + tmp13 * k0_765366865, rotationShift);
    d[6 * step] = descale(z1 - tmp12 * k1_847759065, rotationShift);

    z1 = tmp4 + tmp7;
    std::int32_t z2 = tmp5 + tmp6, z3 = tmp4 + tmp6, z4 = tmp5 + tmp7;
    const std::int32_t z5 = (z3 + z4) * k1_175875602;
    tmp4 *= k0_298631336;
    tmp5 *= k2_053119869;
    tmp6 *= k3_072711026;
    tmp7 *= k1_501321110;
    z1 *= -k0_899976223;
    z2 *= -k2_562915447;
    z3 = z3 * -k1_961570560 + z5;
    z4 = z4 * -k0_390180644 + z5;
    d[7 * step] = descale(tmp4 + z1 + z3, rotationShift);
    d[5 * step] = descale(tmp5 + z2 + z4, rotationShift);
    d[3 * step] = descale(tmp6 + z2 + z3, rotationShift);
    d[step] = descale(tmp7 + z1 + z4, rotationShift);
}

void forward(std::int32_t* data) {
    for (int row = 0; row < kBlock; ++row) {
        pass<true>(data + row * kBlock, 1);
    }
    for (int col = 0; col < kBlock; ++col) {
        pass<false>(data + col, kBlock);
    }
}
} // namespace dct

// Reads an 8x8 block of samples through `sample(x, y)`, centres it and stores its DCT in
// zigzag order, the order the entropy coder reads it in.
template <typename Sample> void transformBlock(Sample sample, int x0, int y0, std::int16_t* out) {
    std::int32_t data[kBlockArea];
    for (int y = 0; y < kBlock; ++y) {
        for (int x = 0; x < kBlock; ++x) {
            data[y * kBlock + x] = std::int32_t(sample(x0 + x, y0 + y)) - 128;
        }
    }
    dct::forward(data);
    for (int k = 0; k < kBlockArea; ++k) {
        out[k] = std::int16_t(data[jpeg::kZigzagToNatural[k]]); // |value| <= 8192 + rounding
    }
}

} // namespace

PreparedJpeg::PreparedJpeg(const QImage& image, const JpegLayout& layout) {
    dct_.layout = layout;
    if (image.isNull() || image.width() > kMaxJpegSide || image.height() > kMaxJpegSide) {
        return;
    }
    // Captures arrive as opaque 32-bit pictures and are read as they are.
    prepare(image.format() == QImage::Format_RGB32
                ? image
                : opaqueRgb888(image).convertToFormat(QImage::Format_RGB32));
}

void PreparedJpeg::prepare(const QImage& rgb32) {
    dct_.width = rgb32.width();
    dct_.height = rgb32.height();
    prepareLuma(rgb32);
    if (dct_.layout.fullChroma) {
        prepareFullChroma(rgb32);
    } else {
        prepareChroma(rgb32);
    }
}

namespace {

void transformPlane(jpeg::DctPlane& plane, const std::vector<std::uint8_t>& samples) {
    const int stride = plane.blocksWide * kBlock;
    plane.zigzag.resize(size_t(plane.blocksWide) * size_t(plane.blocksHigh) * kBlockArea);
    auto sample = [&](int x, int y) { return samples[size_t(y) * size_t(stride) + size_t(x)]; };
    std::int16_t* out = plane.zigzag.data();
    for (int by = 0; by < plane.blocksHigh; ++by) {
        for (int bx = 0; bx < plane.blocksWide; ++bx, out += kBlockArea) {
            transformBlock(sample, bx * kBlock, by * kBlock, out);
        }
    }
}

// A component kept at full size; blocks reaching past the picture repeat its last column and
// row, as libjpeg's edge expansion does.
template <typename Sample>
void prepareFullPlane(jpeg::DctPlane& plane, const QImage& rgb32, Sample sample) {
    const int width = rgb32.width();
    const int height = rgb32.height();
    plane.blocksWide = ceilDiv(width, kBlock);
    plane.blocksHigh = ceilDiv(height, kBlock);
    const int stride = plane.blocksWide * kBlock;
    const int rows = plane.blocksHigh * kBlock;
    std::vector<std::uint8_t> values(size_t(stride) * size_t(rows));
    for (int row = 0; row < height; ++row) {
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb32.constScanLine(row));
        std::uint8_t* dst = values.data() + size_t(row) * size_t(stride);
        for (int col = 0; col < width; ++col) {
            dst[col] = sample(qRed(pixels[col]), qGreen(pixels[col]), qBlue(pixels[col]));
        }
        std::fill(dst + width, dst + stride, dst[width - 1]);
    }
    for (int row = height; row < rows; ++row) {
        std::copy_n(values.data() + size_t(height - 1) * size_t(stride), stride,
                    values.data() + size_t(row) * size_t(stride));
    }
    transformPlane(plane, values);
}

} // namespace

void PreparedJpeg::prepareLuma(const QImage& rgb32) {
    prepareFullPlane(dct_.planes[0], rgb32,
                     [](int r, int g, int b) { return std::uint8_t(colour::luma(r, g, b)); });
}

void PreparedJpeg::prepareFullChroma(const QImage& rgb32) {
    prepareFullPlane(dct_.planes[1], rgb32, [](int r, int g, int b) {
        return std::uint8_t(colour::blueDifference(r, g, b));
    });
    prepareFullPlane(dct_.planes[2], rgb32, [](int r, int g, int b) {
        return std::uint8_t(colour::redDifference(r, g, b));
    });
}

// Chroma is halved both ways by averaging 2x2 pixels with a bias of 1, 2, 1, 2 ... along each
// row. Columns past the picture repeat its last pixel before averaging; rows past the last
// averaged row repeat that row.
void PreparedJpeg::prepareChroma(const QImage& rgb32) {
    jpeg::DctPlane& blue = dct_.planes[1];
    jpeg::DctPlane& red = dct_.planes[2];
    blue.blocksWide = red.blocksWide = ceilDiv(dct_.width, 2 * kBlock);
    blue.blocksHigh = red.blocksHigh = ceilDiv(dct_.height, 2 * kBlock);
    const int cw = blue.blocksWide * kBlock;
    const int ch = blue.blocksHigh * kBlock;
    const int realRows = ceilDiv(dct_.height, 2);
    std::vector<std::uint8_t> cb(size_t(cw) * size_t(ch)), cr(cb.size());
    for (int cy = 0; cy < realRows; ++cy) {
        const auto* r0 = reinterpret_cast<const QRgb*>(rgb32.constScanLine(2 * cy));
        const auto* r1 = reinterpret_cast<const QRgb*>(
            rgb32.constScanLine(std::min(2 * cy + 1, dct_.height - 1)));
        std::uint8_t* cbRow = cb.data() + size_t(cy) * size_t(cw);
        std::uint8_t* crRow = cr.data() + size_t(cy) * size_t(cw);
        for (int cx = 0; cx < cw; ++cx) {
            const int c0 = std::min(2 * cx, dct_.width - 1);
            const int c1 = std::min(2 * cx + 1, dct_.width - 1);
            const QRgb p[4] = {r0[c0], r0[c1], r1[c0], r1[c1]};
            int sumCb = (cx & 1) ? 2 : 1;
            int sumCr = sumCb;
            for (QRgb px : p) {
                sumCb += colour::blueDifference(qRed(px), qGreen(px), qBlue(px));
                sumCr += colour::redDifference(qRed(px), qGreen(px), qBlue(px));
            }
            cbRow[cx] = std::uint8_t(sumCb >> 2);
            crRow[cx] = std::uint8_t(sumCr >> 2);
        }
    }
    for (int cy = realRows; cy < ch; ++cy) {
        std::copy_n(cb.data() + size_t(realRows - 1) * size_t(cw), cw,
                    cb.data() + size_t(cy) * size_t(cw));
        std::copy_n(cr.data() + size_t(realRows - 1) * size_t(cw), cw,
                    cr.data() + size_t(cy) * size_t(cw));
    }
    transformPlane(blue, cb);
    transformPlane(red, cr);
}

bool PreparedJpeg::matchesPlainEncoder() {
    static const bool matches = [] {
        // Sides that leave partial blocks and padding MCUs; saturated colours and a gradient.
        QImage probe(37, 29, QImage::Format_RGB888);
        for (int y = 0; y < probe.height(); ++y) {
            for (int x = 0; x < probe.width(); ++x) {
                const int checker = ((x / 3 + y / 2) & 1) * 255;
                probe.setPixel(x, y, qRgb(checker, (x * 7) & 255, (y * 9 + x) & 255));
            }
        }
        const PreparedJpeg prepared(probe);
        for (int quality : {0, 50, 90, 100}) {
            if (prepared.encode(quality) != encodeJpeg(probe, quality)) {
                return false;
            }
        }
        return true;
    }();
    return matches;
}

std::optional<QByteArray> PreparedJpeg::encode(int quality, std::int64_t maxBytes) const {
    return jpeg::encodeDct(dct_, std::clamp(quality, 0, 100), maxBytes);
}

} // namespace portiqa
