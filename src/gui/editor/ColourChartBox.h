#pragma once

// 图片框1: the colour chart of the editor's tool window. The 98 x 194 chart is shown at the
// box's 60 x 100 by dropping pixels, and a left press picks the colour shown under the
// pointer, so the pick is exactly what the operator sees.

#include <QColor>
#include <QImage>
#include <QWidget>

namespace portiqa {

class ColourChartBox : public QWidget {
    Q_OBJECT
public:
    explicit ColourChartBox(QWidget* parent = nullptr);

    // The colour shown at `point` of the box; invalid outside it.
    QColor colourAt(QPoint point) const;

signals:
    void colourPicked(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage chart_;
    QImage shown_;
};

} // namespace portiqa
