#pragma once

#include <QImage>

#include <cstddef>

namespace portiqa {

// The EXIF orientation tag (values 1 to 8) and the pixel moves that make a stored picture
// upright. Cameras write the sensor's rows as they come and record the turn in this tag.
class ExifOrientation {
public:
    // Reads the orientation from the payload of an APP1 segment (starting at "Exif\0\0").
    // Anything missing, malformed or out of range reads as 1 (already upright).
    static int fromApp1(const unsigned char* data, std::size_t size);

    // Orientations 5 to 8 store the picture on its side: width and height swap.
    static bool swapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

    // The picture as it should be seen; exact pixel moves, no resampling.
    static QImage apply(const QImage& stored, int orientation);
};

} // namespace portiqa
