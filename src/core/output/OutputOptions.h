#pragma once

// What a saved picture carries beyond its pixels and format: the resolution written into the
// file, the smallest JPEG size wanted, and whether the JPEG size search looks for the best
// picture within the limit (4:2:0 or 4:4:4 chroma, whichever comes closer to the capture).
// The default writes the classic files: 4:2:0, no minimum, the formats' default resolution.

namespace portiqa {

struct OutputOptions {
    int dotsPerInch = 0; // 0: the format's default (JPEG: no unit; BMP: 96 dpi; PNG: none)
    double minKb = 0;    // JPEG only; 0: no minimum
    bool bestPicture = false;
};

} // namespace portiqa
