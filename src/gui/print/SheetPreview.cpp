#include "gui/print/SheetPreview.h"

#include <QPainter>

#include <algorithm>

namespace portiqa {

namespace {

constexpr int kBorder = 12; // grey ground around the paper
constexpr double kMmPerInch = 25.4;

} // namespace

SheetPreview::SheetPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("排版预览"));
    setMinimumSize(200, 160);
}

void SheetPreview::setSheet(const SheetRenderer& sheet) {
    sheet_.emplace(sheet);
    renderSheet();
    update();
}

void SheetPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    renderSheet();
}

void SheetPreview::renderSheet() {
    rendered_ = QImage();
    paperRect_ = QRect();
    if (!sheet_) {
        return;
    }
    const QSizeF paper = sheet_->layout().paperMm;
    const QSizeF room(std::max(1, width() - 2 * kBorder), std::max(1, height() - 2 * kBorder));
    if (paper.isEmpty()) {
        return;
    }
    // Pixels per millimetre that fit the whole paper; drawn at the screen's own pixel density.
    const double perMm = std::min(room.width() / paper.width(), room.height() / paper.height());
    const double ratio = devicePixelRatioF();
    rendered_ = sheet_->render(perMm * kMmPerInch * ratio);
    rendered_.setDevicePixelRatio(ratio);
    const QSize shown = (QSizeF(rendered_.size()) / ratio).toSize();
    paperRect_ =
        QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void SheetPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(128, 128, 128));
    if (rendered_.isNull()) {
        return;
    }
    painter.fillRect(paperRect_.translated(3, 3), QColor(90, 90, 90)); // the paper's shadow
    painter.drawImage(paperRect_.topLeft(), rendered_);
}

} // namespace portiqa
