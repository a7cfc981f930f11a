#pragma once

// Turns a captured picture (the bytes of an image file, in practice a 24-bit BMP) into the
// bytes of the output file, choosing the format by the output file's extension: ".jpg" and
// ".jpeg" (any letter case) give the best JPEG within the size limit, ".bmp", ".gif" and ".png"
// the picture in that format. Everything happens in memory; the caller writes the file.

#include "core/output/BestJpeg.h"
#include "core/output/ImageCodec.h"
#include "core/output/JpegQualityEncoder.h"
#include "core/output/OutputOptions.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace portiqa {

class Dialogs;

enum class OutputStatus {
    Ready,             // bytes hold the file to write (a JPEG within the limit)
    SizeUnreachable,   // JPEG only: not even quality 0 fits; bytes hold the quality-0 file
    UnknownExtension,  // not one of .jpg .jpeg .bmp .gif .png: nothing was encoded
    UnreadablePicture, // the source bytes could not be decoded: nothing to write
    EncodingFailed,    // the encoder produced nothing (for example a side too long for JPEG)
};

struct OutputEncoding {
    OutputStatus status = OutputStatus::UnknownExtension;
    QByteArray bytes;
    int quality = -1;          // JPEG: the quality chosen; -1 for other formats
    bool fullChroma = false;   // JPEG: 4:4:4 was chosen
    bool belowMinimum = false; // JPEG: even the best file stays under the minimum size

    // Whether there is a file to write: a fitting one, or the smallest JPEG there is.
    bool hasFile() const {
        return status == OutputStatus::Ready || status == OutputStatus::SizeUnreachable;
    }
};

class OutputEncoder {
public:
    // Makes the JPEG encoder for a decoded picture; tests put scripted encoders here.
    using JpegEncoderFactory = JpegEncoderMaker;

    // Uses `codec` as the one slot for decoded pictures. Without a factory, JPEG files come
    // from PreparedJpeg (the same bytes as ImageCodec::encode gives, only sooner), or from the
    // plain encoder should this build's libjpeg not match it.
    explicit OutputEncoder(ImageCodec& codec, JpegEncoderFactory jpegFactory = {});

    // How many JPEG qualities may be encoded at once (0: the machine's cores). One by one is
    // the default: with the shared work done once, most qualities are settled in well under a
    // millisecond, and threads gained nothing on a busy two-core machine (bench_jpeg_search).
    void setParallel(int parallel) { parallel_ = parallel; }

    // Loads `source` into the codec (replacing what it held) and encodes it for a file with
    // `extension` (with its dot, any letter case). `limitKb` is the JPEG size limit in KB; the
    // byte limit is jpegLimitBytes(limitKb). Runs on the calling thread.
    // `options` add the resolution, a minimum size and the best-picture search; the default
    // gives the classic files.
    OutputEncoding encodeForOutput(const QByteArray& source, const QString& extension,
                                   double limitKb, const OutputOptions& options = {});

private:
    ImageCodec& codec_;
    JpegEncoderFactory jpegFactory_;
    int parallel_ = 1;
};

// The text that tells the operator the smallest JPEG the capture can give, `size` in bytes.
QString unreachableSizeMessage(std::int64_t size);

// Shows that text (caption "提示", OK, no icon).
void reportUnreachableSize(Dialogs& dialogs, std::int64_t size);

// The text that tells the operator a JPEG stayed under the minimum size even at the best
// quality, and was written as it is; sizes in bytes.
QString belowMinimumMessage(std::int64_t size, double minKb);

} // namespace portiqa
