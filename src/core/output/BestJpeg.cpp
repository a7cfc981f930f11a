#include "core/output/BestJpeg.h"

#include "core/output/PictureSimilarity.h"

#include <optional>

namespace portiqa {

namespace {

double similarityOf(const QImage& picture, const QByteArray& jpeg) {
    return pictureSimilarity(picture, QImage::fromData(jpeg, "JPEG"));
}

// The lowest quality whose file reaches `minBytes` within `maxBytes`; file sizes grow with the
// quality, so a bisection finds it in a handful of encodes.
std::optional<JpegSearchResult> lowestReaching(const JpegQualityEncoder& encoder,
                                               std::int64_t minBytes, std::int64_t maxBytes) {
    const std::optional<QByteArray> top = encoder.encode(100, -1);
    if (!top || top->size() < minBytes) {
        return std::nullopt;
    }
    int low = 0;    // below the minimum (or assumed so)
    int high = 100; // reaches it
    std::optional<QByteArray> best = top;
    const std::optional<QByteArray> bottom = encoder.encode(0, -1);
    if (bottom && bottom->size() >= minBytes) {
        high = 0;
        best = bottom;
    }
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        const std::optional<QByteArray> file = encoder.encode(middle, -1);
        if (file && file->size() >= minBytes) {
            high = middle;
            best = file;
        } else {
            low = middle;
        }
    }
    if (!best || best->size() > maxBytes) {
        return std::nullopt;
    }
    return JpegSearchResult{true, high, *best};
}

} // namespace

JpegChoice chooseJpeg(const QImage& picture, const JpegWindow& window,
                      const JpegEncoderMaker& makeEncoder, int parallel) {
    JpegLayout classic;
    classic.dotsPerInch = window.dotsPerInch;
    JpegLayout full = classic;
    full.fullChroma = true;

    const std::unique_ptr<JpegQualityEncoder> encoder420 = makeEncoder(picture, classic);
    JpegChoice choice;
    choice.found = searchJpegQuality(*encoder420, window.maxBytes, parallel);
    const bool wantFull = window.bestPicture || window.minBytes > 0;
    if (!wantFull || !choice.found.fits) {
        return choice;
    }
    const std::unique_ptr<JpegQualityEncoder> encoder444 = makeEncoder(picture, full);
    if (window.bestPicture) {
        const JpegSearchResult found444 = searchJpegQuality(*encoder444, window.maxBytes, parallel);
        if (found444.fits &&
            similarityOf(picture, found444.bytes) > similarityOf(picture, choice.found.bytes)) {
            choice.found = found444;
            choice.fullChroma = true;
        }
    }
    if (window.minBytes <= 0 || choice.found.bytes.size() >= window.minBytes) {
        return choice;
    }
    for (const bool fullChroma : {true, false}) {
        const JpegQualityEncoder& encoder = fullChroma ? *encoder444 : *encoder420;
        if (const auto raised = lowestReaching(encoder, window.minBytes, window.maxBytes)) {
            choice.found = *raised;
            choice.fullChroma = fullChroma;
            return choice;
        }
    }
    // Nothing reaches the minimum: the largest file within the limit, unpadded.
    choice.belowMinimum = true;
    for (const bool fullChroma : {true, false}) {
        const JpegQualityEncoder& encoder = fullChroma ? *encoder444 : *encoder420;
        const std::optional<QByteArray> top = encoder.encode(100, window.maxBytes);
        if (top && top->size() > choice.found.bytes.size()) {
            choice.found = JpegSearchResult{true, 100, *top};
            choice.fullChroma = fullChroma;
        }
    }
    return choice;
}

} // namespace portiqa
