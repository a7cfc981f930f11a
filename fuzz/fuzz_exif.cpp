// The EXIF orientation reader on an arbitrary APP1 payload, then the turn it asks for.

#include "FuzzSupport.h"

#include "core/image/ExifOrientation.h"

using namespace portiqa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int orientation = ExifOrientation::fromApp1(data, size);
    fuzz::require(orientation >= 1 && orientation <= 8, "orientation is 1 to 8");
    static const QImage stored = [] {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(0, 0, qRgb(255, 0, 0));
        return image;
    }();
    const QImage upright = ExifOrientation::apply(stored, orientation);
    const QSize expected =
        ExifOrientation::swapsSides(orientation) ? stored.size().transposed() : stored.size();
    fuzz::require(upright.size() == expected, "a turn keeps or swaps the sides");
    return 0;
}
