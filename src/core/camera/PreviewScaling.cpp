#include "core/camera/PreviewScaling.h"

namespace portiqa {

QImage scaleFrameToPreview(const QImage& frame, QSize preview) {
    if (frame.isNull() || preview.isEmpty()) {
        return {};
    }
    // Frames come opaque from cameras; RGB32 keeps the scaler on its fast path.
    const QImage opaque = frame.format() == QImage::Format_RGB32
                              ? frame
                              : frame.convertToFormat(QImage::Format_RGB32);
    if (opaque.size() == preview) {
        return opaque;
    }
    return opaque.scaled(preview, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace portiqa
