#include "gui/app/StatusBarWidget.h"

#include "core/app/AppTexts.h"
#include "core/app/StatusBarBand.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace portiqa {

StatusBarWidget::StatusBarWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatusBarWidget::setHintText(const QString& text) {
    hint_ = text;
    ++hintWrites_;
    update();
}

void StatusBarWidget::setSwitchChecked(bool checked) {
    if (checked_ != checked) {
        checked_ = checked;
        update();
    }
}

void StatusBarWidget::setEffectiveWidth(int effectiveWidth) {
    effectiveWidth_ = effectiveWidth;
    update();
}

QImage StatusBarWidget::checkImage(bool checked) {
    QImage image(13, 13, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, 12, 12);
    if (checked) {
        painter.setPen(QPen(Qt::black, 2));
        painter.drawPolyline(QPolygon({QPoint(3, 6), QPoint(5, 9), QPoint(10, 3)}));
    }
    return image;
}

void StatusBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const int panel0 = hintPanelWidth(effectiveWidth_);
    const QRect hintRect(0, 1, panel0, height() - 2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(hintRect.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(hintRect.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, hint_);

    const int switchLeft = panel0 + 2;
    const QImage check = checkImage(checked_);
    painter.drawImage(switchLeft + 2, (height() - check.height()) / 2, check);
    painter.drawText(QRect(switchLeft + 19, 0, width() - switchLeft - 19, height()),
                     Qt::AlignVCenter | Qt::AlignLeft, texts::batchSwitchText());
}

void StatusBarWidget::mousePressEvent(QMouseEvent* event) {
    const int x = int(event->position().x());
    if (!inBatchSwitchBand(x, effectiveWidth_)) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        emit switchLeftPressed();
    } else if (event->button() == Qt::RightButton) {
        emit switchRightPressed();
    }
}

void StatusBarWidget::mouseMoveEvent(QMouseEvent* event) {
    emit hovered(int(event->position().x()));
}

} // namespace portiqa
