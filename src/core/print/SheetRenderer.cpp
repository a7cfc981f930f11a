#include "core/print/SheetRenderer.h"

#include "core/print/SheetChoices.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace portiqa {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kMetresPerInch = 0.0254;

} // namespace

SheetRenderer::SheetRenderer(SheetLayout layout, QImage picture)
    : layout_(std::move(layout)), picture_(std::move(picture)) {}

QRect SheetRenderer::pictureRectInCopy(double dotsPerInch) const {
    if (layout_.copies.isEmpty() || picture_.isNull()) {
        return {};
    }
    const QSizeF copyMm = layout_.copies.constFirst().size();
    const QSize cell(millimetresToPixels(copyMm.width(), dotsPerInch),
                     millimetresToPixels(copyMm.height(), dotsPerInch));
    // Fitted by proportion: whichever side limits takes the whole cell, the other is rounded.
    const double scale = std::min(double(cell.width()) / picture_.width(),
                                  double(cell.height()) / picture_.height());
    const QSize fitted(std::clamp(int(std::lround(picture_.width() * scale)), 1, cell.width()),
                       std::clamp(int(std::lround(picture_.height() * scale)), 1, cell.height()));
    return QRect(QPoint((cell.width() - fitted.width()) / 2, (cell.height() - fitted.height()) / 2),
                 fitted);
}

QPoint SheetRenderer::copyOrigin(const QRectF& copyMm, double dotsPerInch) {
    return {millimetresToPixels(copyMm.left(), dotsPerInch),
            millimetresToPixels(copyMm.top(), dotsPerInch)};
}

QImage SheetRenderer::scaled(const QImage& picture, QSize size) {
    if (picture.size() == size) {
        return picture;
    }
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void SheetRenderer::paint(QPainter& painter, double dotsPerInch) const {
    const double dotsPerMm = dotsPerInch / kMmPerInch;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(
        QRectF(0, 0, layout_.paperMm.width() * dotsPerMm, layout_.paperMm.height() * dotsPerMm),
        Qt::white);
    if (!layout_.cutLines.isEmpty()) {
        QPen pen(QColor(kCutLineGrey, kCutLineGrey, kCutLineGrey));
        pen.setWidthF(std::max(1.0, kCutLineMm * dotsPerMm));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        for (const QLineF& line : layout_.cutLines) {
            painter.drawLine(QLineF(line.p1() * dotsPerMm, line.p2() * dotsPerMm));
        }
    }
    // The copies go over the lines, so a line on a copy's edge never covers its pixels.
    const QRect inCopy = pictureRectInCopy(dotsPerInch);
    if (!inCopy.isEmpty()) {
        const QImage copy = scaled(picture_, inCopy.size());
        for (const QRectF& copyMm : layout_.copies) {
            painter.drawImage(copyOrigin(copyMm, dotsPerInch) + inCopy.topLeft(), copy);
        }
    }
    painter.restore();
}

QImage SheetRenderer::render(double dotsPerInch) const {
    const QSize size(std::max(1, millimetresToPixels(layout_.paperMm.width(), dotsPerInch)),
                     std::max(1, millimetresToPixels(layout_.paperMm.height(), dotsPerInch)));
    QImage sheet(size, QImage::Format_RGB32);
    if (sheet.isNull()) {
        return sheet;
    }
    const int dotsPerMetre = int(std::lround(dotsPerInch / kMetresPerInch));
    sheet.setDotsPerMeterX(dotsPerMetre);
    sheet.setDotsPerMeterY(dotsPerMetre);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    paint(painter, dotsPerInch);
    return sheet;
}

} // namespace portiqa
