#include "core/output/BestJpeg.h"

#include "core/output/PictureSimilarity.h"

#include <optional>

namespace portiqa {

namespace {

// Below this classic quality the limit is tight: luma needs every byte, and the extra bytes of
// full chroma cost more detail than its colour gains (measured on portrait crops from 5 to
// 500 KB: full chroma won only where the classic file reached quality 92 or more). Such
// searches skip full chroma, which keeps the best picture's search close to the plain one's.
constexpr int kFullChromaFromQuality = 90;
// Full chroma costs luma detail (a lower quality fits) to win back the colour that 4:2:0 lost.
// It paid off only where the classic file's chroma had lost at least three times as much
// (1 - SSIM) as its luma; elsewhere the search is skipped.
constexpr double kChromaLossWorthFullChroma = 3.0;

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

// Answers "too large" above a quality without encoding; below it, the encoder's own answer.
class CappedEncoder final : public JpegQualityEncoder {
public:
    CappedEncoder(const JpegQualityEncoder& encoder, int highest)
        : encoder_(encoder), highest_(highest) {}
    std::optional<QByteArray> encode(int quality, std::int64_t maxBytes) const override {
        if (quality > highest_ && maxBytes >= 0) {
            return std::nullopt;
        }
        return encoder_.encode(quality, maxBytes);
    }

private:
    const JpegQualityEncoder& encoder_;
    int highest_;
};

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
    if (!choice.found.fits) {
        return choice;
    }
    std::unique_ptr<JpegQualityEncoder> encoder444;
    const auto fullChromaEncoder = [&]() -> const JpegQualityEncoder& {
        if (!encoder444) {
            encoder444 = makeEncoder(picture, full);
        }
        return *encoder444;
    };
    if (window.bestPicture && choice.found.quality >= kFullChromaFromQuality) {
        const SimilarityReference reference(picture);
        const SimilarityReference::PlaneSimilarity classicFile =
            reference.planesOfJpeg(choice.found.bytes);
        if (1 - classicFile.chroma >= kChromaLossWorthFullChroma * (1 - classicFile.luma)) {
            // Full chroma adds data at every quality, so no quality above the classic file's
            // fits: the same walk, with those steps answered at once.
            const CappedEncoder capped(fullChromaEncoder(), choice.found.quality);
            const JpegSearchResult found444 = searchJpegQuality(capped, window.maxBytes, 1);
            if (found444.fits &&
                reference.similarityOfJpeg(found444.bytes) > classicFile.combined()) {
                choice.found = found444;
                choice.fullChroma = true;
            }
        }
    }
    if (window.minBytes <= 0 || choice.found.bytes.size() >= window.minBytes) {
        return choice;
    }
    for (const bool fullChroma : {true, false}) {
        const JpegQualityEncoder& encoder = fullChroma ? fullChromaEncoder() : *encoder420;
        if (const auto raised = lowestReaching(encoder, window.minBytes, window.maxBytes)) {
            choice.found = *raised;
            choice.fullChroma = fullChroma;
            return choice;
        }
    }
    // Nothing reaches the minimum: the largest file within the limit, unpadded.
    choice.belowMinimum = true;
    for (const bool fullChroma : {true, false}) {
        const JpegQualityEncoder& encoder = fullChroma ? fullChromaEncoder() : *encoder420;
        const std::optional<QByteArray> top = encoder.encode(100, window.maxBytes);
        if (top && top->size() > choice.found.bytes.size()) {
            choice.found = JpegSearchResult{true, 100, *top};
            choice.fullChroma = fullChroma;
        }
    }
    return choice;
}

} // namespace portiqa
