#pragma once

// The one function that turns a camera frame into the preview's pixels. The preview draws its
// result and a photo takes the same result, so the photo is exactly what was shown.

#include <QImage>
#include <QSize>

namespace portiqa {

// `frame` scaled to `preview` (smooth, aspect not kept: the preview already has the camera's
// aspect), as opaque RGB32. A null image for a null frame or an empty size.
QImage scaleFrameToPreview(const QImage& frame, QSize preview);

} // namespace portiqa
