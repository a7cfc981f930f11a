#pragma once

// The JPEG file a save writes, chosen within the size window.
//
// - The classic search (JpegSizeSearch) on 4:2:0 chroma is always made; with nothing else
//   asked for, its file is the answer, byte for byte as the program has always written it
//   (only the resolution in the header may differ).
// - For the best picture within the limit the same search runs on 4:4:4 chroma too; of the two
//   files that fit, the one whose decoded pixels come closer to the capture (SSIM) is kept.
//   4:4:4 spends more of the budget on colour and wins where edges carry colour; 4:2:0 wins on
//   tight limits, where luma needs every byte. So 4:4:4 is tried only where it can win: a
//   classic file of quality 90 or more (where ImageMagick too switches to full chroma) whose
//   chroma lost at least three times as much as its luma. That keeps the search within twice
//   the classic one's time.
// - With a minimum size, a file below it gives way to the lowest quality whose file reaches
//   the minimum and stays within the limit, 4:4:4 first. A flat picture that stays below the
//   minimum even at quality 100 is not padded: its largest file is kept and `belowMinimum`
//   says so.

#include "core/output/JpegLayout.h"
#include "core/output/JpegQualityEncoder.h"
#include "core/output/JpegSizeSearch.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>

namespace portiqa {

using JpegEncoderMaker =
    std::function<std::unique_ptr<JpegQualityEncoder>(const QImage& picture, const JpegLayout&)>;

struct JpegWindow {
    std::int64_t maxBytes = 0;
    std::int64_t minBytes = 0; // 0: no minimum
    bool bestPicture = false;
    int dotsPerInch = 0;
};

struct JpegChoice {
    JpegSearchResult found;
    bool fullChroma = false;
    bool belowMinimum = false;
};

JpegChoice chooseJpeg(const QImage& picture, const JpegWindow& window,
                      const JpegEncoderMaker& makeEncoder, int parallel);

} // namespace portiqa
