#pragma once

// Finds the best JPEG quality whose file is not larger than a byte limit, the way the program
// has always chosen it: from 100 down in steps of 5 to the first quality that fits, then up by
// ones from there while the files still fit, at most 4 steps. When not even quality 0 fits, the
// quality-0 file is the answer all the same.
//
// The qualities of one step may be encoded side by side on several cores; the choice is always
// the one the plain one-at-a-time walk makes, because results are read in the walk's order and
// the walk stops where it would have stopped. Encodes beyond that point are thrown away.

#include "core/output/JpegQualityEncoder.h"

#include <QByteArray>

#include <cstdint>

namespace portiqa {

struct JpegSearchResult {
    bool fits = false; // false: nothing fitted and `bytes` is the quality-0 file
    int quality = 0;   // the quality of `bytes`
    QByteArray bytes;
};

// The byte limit for a limit in KB: floor(kb x 1024), where a product whose fraction exceeds
// 0.999999999999 counts as the next whole number; kept within 0 .. 2^31 - 1.
std::int64_t jpegLimitBytes(double kb);

// Runs the search. `parallel` is how many qualities may be encoded at once: 1 walks one at a
// time, 0 uses the machine's cores.
JpegSearchResult searchJpegQuality(const JpegQualityEncoder& encoder, std::int64_t limitBytes,
                                   int parallel = 0);

} // namespace portiqa
