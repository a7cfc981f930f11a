#include "core/camera/QuickFrame.h"

#include "core/text/Numbers.h"

#include <QPainter>

#include <algorithm>

namespace portiqa::quickframe {

QuickFrameGeometry geometry(QPoint topLeft, QSize output) {
    const int l = topLeft.x();
    const int t = topLeft.y();
    const int w = output.width();
    const int h = output.height();
    QuickFrameGeometry g;
    g.panel = QRect(l, t, w, h);
    g.leftBar = QRect(l - 10, t - 10, kBarThickness, h + 11);
    g.topBar = QRect(l - 10, t - 10, w + 11, kBarThickness);
    g.bottomBar = QRect(l - 10, t + h + 1, w + 11, kBarThickness);
    // Down to the bottom bar's lower edge, so the bottom right corner is closed too.
    g.rightBar = QRect(l + w + 1, t - 10, kBarThickness, h + 20);
    return g;
}

QPoint centred(QRect preview, QSize output) {
    const auto offset = [](int previewSide, int outputSide) {
        return numbers::truncateToInt32(previewSide / 2.0 - outputSide / 2.0);
    };
    return {preview.left() + offset(preview.width(), output.width()),
            preview.top() + offset(preview.height(), output.height())};
}

QPoint clampedDrag(QPoint proposed, QSize groupBox, QSize output) {
    int left = std::max(proposed.x(), kMinDragLeft);
    left = std::min(left, groupBox.width() - 10 - output.width() - 6);
    int top = std::max(proposed.y(), kMinDragTop);
    top = std::min(top, groupBox.height() - 10 - output.height() - 2);
    return {left, top};
}

QImage shot(const QImage& preview, QRect previewRect, QRect frame, const QColor& background) {
    if (frame.width() <= 0 || frame.height() <= 0) {
        return {};
    }
    QImage picture(frame.size(), QImage::Format_RGB32);
    if (picture.isNull()) {
        return {};
    }
    const QRect inside = frame.intersected(previewRect);
    if (inside != frame) {
        picture.fill(background);
    }
    if (!inside.isEmpty() && !preview.isNull()) {
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect source = inside.translated(-previewRect.topLeft());
        painter.drawImage(inside.topLeft() - frame.topLeft(), preview, source);
    }
    return picture;
}

} // namespace portiqa::quickframe
