#pragma once

// A search for the faces of a picture through its pyramid, as the window's face framing runs
// it; the size is the full picture's, in whose coordinates the faces come back. Thread-safe
// where it is handed to workers (the read-ahead, the background change).

#include "core/face/DetectedFace.h"

#include <QSize>

#include <functional>

namespace portiqa {

class PicturePyramid;

using FaceSearch = std::function<DetectedFaces(const PicturePyramid&, QSize)>;

} // namespace portiqa
