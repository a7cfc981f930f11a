#include "gui/editor/ColourChartBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace portiqa {

ColourChartBox::ColourChartBox(QWidget* parent)
    : QWidget(parent), chart_(QStringLiteral(":/editor/colour_chart.png")) {
    setObjectName(QStringLiteral("图片框1"));
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void ColourChartBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!chart_.isNull() && !size().isEmpty()) {
        shown_ = chart_.convertToFormat(QImage::Format_RGB32)
                     .scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
}

QColor ColourChartBox::colourAt(QPoint point) const {
    if (!shown_.valid(point)) {
        return {};
    }
    return QColor(shown_.pixel(point));
}

void ColourChartBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, shown_);
}

void ColourChartBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QColor colour = colourAt(event->position().toPoint());
    if (colour.isValid()) {
        emit colourPicked(colour);
    }
}

} // namespace portiqa
