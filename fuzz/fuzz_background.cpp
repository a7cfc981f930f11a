// The background change on an arbitrary small framed picture with an arbitrary face: the
// face's measures may lie anywhere, inside the frame or far beyond it, and the pixels are
// whatever the input holds. Whatever it comes to, the result keeps the frame's size; a
// refusal gives the picture back unchanged, and a replacement keeps the picture exactly where
// the person is surely and the colour exactly where the wall is.
//
// Input: width and height (16 + a byte each), the new colour (3 bytes), which of the face's
// parts were found (a byte), the face's points (12 bytes, each a signed step of 1/32 of the
// frame from its middle, so up to four frames away), then the pixels' colours (RGB, repeated
// to fill the frame; grey without them).

#include "FuzzSupport.h"

#include "core/background/BackgroundReplacer.h"

#include <QImage>

#include <cstdint>

using namespace portiqa;

namespace {

constexpr std::size_t kHeader = 18;

// A coordinate from a signed byte: the frame's middle plus steps of 1/32 of its length.
double at(std::uint8_t byte, int length) {
    return length / 2.0 + static_cast<std::int8_t>(byte) * length / 32.0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeader) {
        return 0;
    }
    const int width = 16 + data[0] % 100;
    const int height = 16 + data[1] % 120;
    const QRgb colour = qRgb(data[2], data[3], data[4]);
    const std::uint8_t found = data[5];
    const std::uint8_t* p = data + 6;

    DetectedFace face;
    const double left = at(p[0], width);
    const double top = at(p[1], height);
    face.box = QRectF(left, top, at(p[2], width) - left, at(p[3], height) - top);
    face.eyesFound = (found & 1) != 0;
    face.landmarksFound = (found & 2) != 0;
    face.leftEye = QPointF(at(p[4], width), at(p[5], height));
    face.rightEye = QPointF(at(p[6], width), at(p[5], height));
    face.chin = QPointF(at(p[7], width), at(p[8], height));
    face.leftCheek = QPointF(at(p[9], width), at(p[10], height));
    face.rightCheek = QPointF(at(p[11], width), at(p[10], height));
    face.topFound = (found & 4) != 0;
    face.topY = at(p[1] ^ p[8], height);

    QImage framed(width, height, QImage::Format_RGB32);
    framed.fill(qRgb(128, 128, 128));
    const std::uint8_t* pixels = data + kHeader;
    const std::size_t colours = (size - kHeader) / 3;
    if (colours > 0) {
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(framed.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* c = pixels + 3 * ((std::size_t(y) * width + x) % colours);
                line[x] = qRgb(c[0], c[1], c[2]);
            }
        }
    }

    const BackgroundReplacement result = replaceBackground(framed, {face}, colour);
    fuzz::require(result.picture.size() == framed.size(), "the result keeps the frame's size");
    if (!result.replaced()) {
        fuzz::require(result.picture == framed, "a refusal gives the picture back unchanged");
        fuzz::require(!result.refusal().isEmpty(), "a refusal says why");
        return 0;
    }
    fuzz::require(result.alpha.size() == framed.size(), "the person's share covers the frame");
    const QImage out = result.picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uchar* share = result.alpha.constScanLine(y);
        const auto* in = reinterpret_cast<const QRgb*>(framed.constScanLine(y));
        const auto* made = reinterpret_cast<const QRgb*>(out.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (share[x] == 255) {
                fuzz::require(made[x] == in[x], "the person is the picture exactly");
            } else if (share[x] == 0) {
                fuzz::require(made[x] == (colour | 0xff000000u), "the wall is the colour exactly");
            }
        }
    }
    return 0;
}
