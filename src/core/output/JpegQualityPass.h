#pragma once

// One quality's worth of work on a picture whose forward DCT is already done: quantise, count
// the Huffman symbols, build the optimal tables, and only then, if the file can still fit,
// let libjpeg write it. The count gives the exact length of the entropy-coded data before any
// byte is written, so a quality whose file cannot fit costs no libjpeg pass at all.
//
// Internal to core/output (PreparedJpeg uses it).

#include "core/output/JpegLayout.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace portiqa::jpeg {

// Natural (row-major) index of each zigzag position: the order JPEG codes a block's values in.
inline constexpr int kZigzagToNatural[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// One component's unquantised DCT output: 64 values per block in zigzag order, blocks row by
// row. Luma is full size; the two chroma planes are halved both ways (4:2:0) or full size (4:4:4).
struct DctPlane {
    int blocksWide = 0;
    int blocksHigh = 0;
    std::vector<std::int16_t> zigzag;
};

struct DctPicture {
    int width = 0;
    int height = 0;
    JpegLayout layout;              // with fullChroma the chroma planes are full size like luma
    std::array<DctPlane, 3> planes; // Y, Cb, Cr
};

// The JPEG file at `quality` (0..100), or nothing when it would be larger than maxBytes
// (maxBytes < 0: no limit). Empty when the picture is empty. Thread-safe for a shared picture.
std::optional<QByteArray> encodeDct(const DctPicture& picture, int quality, std::int64_t maxBytes);

} // namespace portiqa::jpeg
