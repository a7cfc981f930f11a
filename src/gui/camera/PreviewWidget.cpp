#include "gui/camera/PreviewWidget.h"

#include "core/camera/PreviewScaling.h"

#include <QPainter>

namespace portiqa {

PreviewWidget::PreviewWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::setFrame(const QImage& frame) {
    frame_ = frame;
    shown_ = scaleFrameToPreview(frame_, size());
    update();
}

void PreviewWidget::clear() {
    frame_ = QImage();
    shown_ = QImage();
    update();
}

void PreviewWidget::setPlaceholderText(const QString& text) {
    placeholder_ = text;
    update();
}

void PreviewWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    shown_ = scaleFrameToPreview(frame_, size());
}

void PreviewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (shown_.isNull()) {
        painter.fillRect(rect(), Qt::black);
        if (!placeholder_.isEmpty()) {
            painter.setPen(Qt::white);
            painter.drawText(rect(), Qt::AlignCenter, placeholder_);
        }
        return;
    }
    painter.drawImage(0, 0, shown_);
}

} // namespace portiqa
