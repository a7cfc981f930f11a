#pragma once

// A picture prepared for JPEG encoding at many qualities. The size search encodes one picture
// up to 25 times; colour conversion, chroma down-sampling and the forward DCT do not depend on
// the quality, so they are done once here and each encode only quantises and entropy-codes.
//
// The result is byte for byte the file that encodeJpeg() writes at the same quality: the
// preparation repeats libjpeg-turbo's own arithmetic (RGB to YCbCr tables, 2x2 box filter with
// alternating bias, edge replication, the accurate integer DCT and its rounding quantiser),
// the optimal Huffman tables come from libjpeg's own table builder, and libjpeg's transcoder
// writes the file with the same markers. The tests compare the two encoders at every quality,
// and matchesPlainEncoder() repeats a small comparison at run time.

#include "core/output/JpegQualityEncoder.h"
#include "core/output/JpegQualityPass.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

namespace portiqa {

class PreparedJpeg final : public JpegQualityEncoder {
public:
    // Prepares `image` (alpha blended over white). A null image, or one with a side over
    // 65500 pixels (the JPEG limit), prepares nothing and every encode is empty.
    explicit PreparedJpeg(const QImage& image, const JpegLayout& layout = {});

    // The file at `quality` (clamped to 0..100), or nothing when it would be larger than
    // maxBytes (maxBytes < 0: no limit). Safe to call from several threads at once.
    std::optional<QByteArray> encode(int quality, std::int64_t maxBytes = -1) const override;

    // Whether this build's libjpeg writes what PreparedJpeg writes, checked once per process
    // on a small picture with awkward sides at a few qualities. Callers use the plain encoder
    // when it does not (another libjpeg with other arithmetic would break the promise above).
    static bool matchesPlainEncoder();

    int width() const { return dct_.width; }
    int height() const { return dct_.height; }

private:
    void prepare(const QImage& rgb32);
    void prepareLuma(const QImage& rgb32);
    void prepareChroma(const QImage& rgb32);
    void prepareFullChroma(const QImage& rgb32);

    jpeg::DctPicture dct_;
};

} // namespace portiqa
