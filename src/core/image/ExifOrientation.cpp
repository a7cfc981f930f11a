#include "core/image/ExifOrientation.h"

#include <QTransform>

#include <cstring>

namespace portiqa {

namespace {

// Bounds-checked reads in the byte order the TIFF header announces.
class TiffReader {
public:
    TiffReader(const unsigned char* data, std::size_t size, bool littleEndian)
        : data_(data), size_(size), little_(littleEndian) {}

    bool u16(std::size_t at, unsigned& value) const {
        if (at + 2 > size_) {
            return false;
        }
        value = little_ ? data_[at] | (data_[at + 1] << 8) : (data_[at] << 8) | data_[at + 1];
        return true;
    }

    bool u32(std::size_t at, std::size_t& value) const {
        unsigned high = 0;
        unsigned low = 0;
        if (!u16(at, little_ ? low : high) || !u16(at + 2, little_ ? high : low)) {
            return false;
        }
        value = (std::size_t(high) << 16) | low;
        return true;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
    bool little_;
};

QImage rotated(const QImage& image, int degrees) {
    return image.transformed(QTransform().rotate(degrees), Qt::FastTransformation);
}

} // namespace

int ExifOrientation::fromApp1(const unsigned char* data, std::size_t size) {
    constexpr std::size_t headerSize = 6;
    if (size < headerSize + 8 || std::memcmp(data, "Exif\0\0", headerSize) != 0) {
        return 1;
    }
    const unsigned char* tiff = data + headerSize;
    const std::size_t tiffSize = size - headerSize;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) {
        return 1;
    }
    const TiffReader reader(tiff, tiffSize, little);
    unsigned magic = 0;
    std::size_t ifd = 0;
    unsigned count = 0;
    if (!reader.u16(2, magic) || magic != 42 || !reader.u32(4, ifd) || !reader.u16(ifd, count)) {
        return 1;
    }
    constexpr unsigned orientationTag = 0x0112;
    constexpr unsigned shortType = 3;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + std::size_t(i) * 12;
        unsigned tag = 0;
        unsigned type = 0;
        unsigned value = 0;
        if (!reader.u16(entry, tag) || !reader.u16(entry + 2, type) ||
            !reader.u16(entry + 8, value)) {
            return 1;
        }
        if (tag == orientationTag) {
            return type == shortType && value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

QImage ExifOrientation::apply(const QImage& stored, int orientation) {
    switch (orientation) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.mirrored(true, true);
    case 4:
        return stored.mirrored(false, true);
    case 5: // transpose: a clockwise quarter turn, then left and right swapped
        return rotated(stored, 90).mirrored(true, false);
    case 6:
        return rotated(stored, 90);
    case 7: // transverse: a clockwise quarter turn, then top and bottom swapped
        return rotated(stored, 90).mirrored(false, true);
    case 8:
        return rotated(stored, 270);
    default:
        return stored;
    }
}

} // namespace portiqa
