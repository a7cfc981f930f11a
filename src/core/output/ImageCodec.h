#pragma once

// Holds one decoded picture at a time and encodes it, in memory, as BMP, JPEG, GIF or PNG.
// The save paths load the captured picture once and then encode it as often as the JPEG size
// search needs; nothing here touches the disk or shows a message.

#include "core/output/ImageFormat.h"

#include <QByteArray>
#include <QImage>

namespace portiqa {

class ImageCodec {
public:
    // Largest decoded picture accepted, in megabytes of pixel memory. A file whose header
    // announces more is refused before any pixel is decoded. The largest output frame,
    // 10000 x 10000 at 4 bytes a pixel, takes 382 MB.
    static constexpr int kAllocationLimitMb = 400;

    // Decodes a BMP, JPEG, GIF or PNG file held in memory (recognised by its content, not by a
    // name) into the slot. The previous picture is released first, also when the new one is
    // refused: 4 bytes or fewer, another format, a damaged file or one over the limit.
    bool loadFromBytes(const QByteArray& bytes);

    // Empties the slot.
    void release() { image_ = QImage(); }

    bool isLoaded() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }

    // The loaded picture as a file of the format with code `formatCode` (see ImageFormat).
    // For JPEG the quality is clamped to 0..100 and is 100 when useQuality is false; the other
    // formats ignore it. Empty when nothing is loaded, for an unknown code, or when the
    // encoder fails. The loaded picture is not changed.
    // `dotsPerInch` (0: the format's default) goes into the file's resolution fields.
    QByteArray encode(int formatCode, int quality, bool useQuality, int dotsPerInch = 0) const;

private:
    QImage image_;
};

} // namespace portiqa
