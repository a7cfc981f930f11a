#pragma once

// The program's JPEG encoder: libjpeg-turbo, baseline, 4:2:0 chroma (4:4:4 on request), accurate
// integer DCT, optimised Huffman tables and a JFIF header only. The quality scale is libjpeg's
// 0..100 (0 writes the same file as 1).

#include "core/output/JpegLayout.h"
#include "core/output/JpegQualityEncoder.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <optional>

namespace portiqa {

// Encodes `image` (alpha blended over white) at `quality`, clamped to 0..100. Returns nothing
// when the file would be larger than maxBytes (maxBytes < 0: no limit); the encoder then stops
// as soon as it knows. A null image, or one libjpeg cannot take (sides over 65500),
// gives an empty array.
// `layout` chooses 4:4:4 chroma and the header's resolution; the default is the classic file.
std::optional<QByteArray> encodeJpeg(const QImage& image, int quality, std::int64_t maxBytes = -1,
                                     const JpegLayout& layout = {});

// The same file with its resolution written into the JFIF header (dots per inch, both ways),
// for pictures meant for print at a known physical size. No size limit.
QByteArray encodeJpegWithDensity(const QImage& image, int quality, int dotsPerInch);

// The plain encoder behind the size search's interface: every quality encodes the picture
// from its pixels. The reference the faster PreparedJpeg is held to, and its stand-in should
// the two ever disagree.
class PlainJpegEncoder final : public JpegQualityEncoder {
public:
    explicit PlainJpegEncoder(QImage image, JpegLayout layout = {})
        : image_(std::move(image)), layout_(layout) {}
    std::optional<QByteArray> encode(int quality, std::int64_t maxBytes) const override {
        return encodeJpeg(image_, quality, maxBytes, layout_);
    }

private:
    QImage image_;
    JpegLayout layout_;
};

} // namespace portiqa
