#pragma once

// What the JPEG size search needs from an encoder: the file of one picture at a given quality,
// or the news that it would be too large. The program uses PreparedJpeg; tests script sizes.

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace portiqa {

class JpegQualityEncoder {
public:
    virtual ~JpegQualityEncoder() = default;

    // The file at `quality` (0..100), or nothing when it would be larger than maxBytes
    // (maxBytes < 0: no limit). An encoder may stop early once it knows the file is too large.
    // Called from several threads at once when the search runs in parallel.
    virtual std::optional<QByteArray> encode(int quality, std::int64_t maxBytes) const = 0;
};

} // namespace portiqa
