#pragma once

// How a JPEG file is laid out beyond its quality: whether the two chroma planes keep every
// pixel (4:4:4) or are halved both ways (4:2:0, the program's classic files), and the
// resolution written into the JFIF header. Both encoders take it, so the fast size search
// still writes exactly what the plain encoder writes.

namespace portiqa {

struct JpegLayout {
    bool fullChroma = false; // 4:4:4 instead of 4:2:0
    int dotsPerInch = 0;     // 0: the header's default (no unit, aspect 1:1)

    bool operator==(const JpegLayout& other) const {
        return fullChroma == other.fullChroma && dotsPerInch == other.dotsPerInch;
    }
};

} // namespace portiqa
