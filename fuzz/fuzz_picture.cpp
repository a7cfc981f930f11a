// The picture decoder on arbitrary bytes: the format is told by content, as for a file
// opened, dropped or named on the command line. The program's own decode limits apply.

#include "FuzzSupport.h"

#include "core/image/PictureDecoder.h"

using namespace portiqa;

namespace {

void checkOutcome(const DecodedPicture& result) {
    if (result.ok()) {
        fuzz::require(result.image.format() == QImage::Format_RGB32, "a picture is RGB32");
        fuzz::require(!result.fullSize.isEmpty(), "a picture has a size");
    } else {
        fuzz::require(result.image.isNull(), "a failure hands out no picture");
        fuzz::require(!result.message.isEmpty(), "a failure has a message");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const PictureDecoder decoder;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const DecodedPicture full = decoder.decode(bytes);
    checkOutcome(full);
    if (full.ok()) {
        fuzz::require(full.image.size() == full.fullSize, "a full decode is the whole picture");
    }
    if (PictureDecoder::formatOf(bytes) == PictureFormat::Jpeg) {
        // The DCT-scaled first view takes other paths through libjpeg.
        const DecodedPicture preview = decoder.decodePreview(bytes, QSize(411, 279));
        checkOutcome(preview);
        if (preview.ok() && full.ok()) {
            fuzz::require(preview.fullSize == full.fullSize, "a preview knows the full size");
        }
    }
    return 0;
}
