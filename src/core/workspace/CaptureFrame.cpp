#include "core/workspace/CaptureFrame.h"

#include <QPainter>

#include <algorithm>

namespace portiqa {

namespace {

void horizontalLine(QImage& image, int y, int fromX, int toXExclusive, QRgb colour) {
    if (y < 0 || y >= image.height()) {
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = std::max(0, fromX); x < std::min(toXExclusive, image.width()); ++x) {
        line[x] = colour;
    }
}

void verticalLine(QImage& image, int x, int fromY, int toYExclusive, QRgb colour) {
    if (x < 0 || x >= image.width()) {
        return;
    }
    for (int y = std::max(0, fromY); y < std::min(toYExclusive, image.height()); ++y) {
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
    }
}

} // namespace

bool CaptureFrame::grabs(QPoint point) const {
    const int l = topLeft_.x();
    const int t = topLeft_.y();
    return point.x() >= l - 1 && point.x() <= l + size_.width() + 1 && point.y() >= t - 1 &&
           point.y() <= t + size_.height() + 1;
}

void CaptureFrame::drawFrame(QImage& image) const {
    if (image.isNull()) {
        return;
    }
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    const QRgb colour = colour_.rgb();
    const int l = topLeft_.x();
    const int t = topLeft_.y();
    const int r = l + size_.width() + 1;
    const int b = t + size_.height() + 1;
    horizontalLine(image, t - 1, l - 1, r, colour);
    horizontalLine(image, b, l - 1, r, colour);
    verticalLine(image, l - 1, t - 1, b, colour);
    verticalLine(image, r, t - 1, b, colour);
}

QImage CaptureFrame::capture(const QImage& surface, qint64 maxPixels) const {
    if (size_.width() < 1 || size_.height() < 1 ||
        static_cast<qint64>(size_.width()) * size_.height() > maxPixels) {
        return {};
    }
    QImage block(size_, QImage::Format_RGB32);
    if (block.isNull()) {
        return block;
    }
    block.fill(Qt::white);
    QPainter painter(&block);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect source = rect().intersected(surface.rect());
    painter.drawImage(source.topLeft() - topLeft_, surface, source);
    return block;
}

} // namespace portiqa
