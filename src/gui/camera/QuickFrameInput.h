#pragma once

// The operator's hold on the quick-shoot frame: the four move buttons (a press moves one pixel,
// a held button repeats from the tenth 5 ms tick on, and only the release of the mouse button
// ends it) and the drag by any of the four bars (the frame follows the mouse until the button
// is released anywhere, kept inside the group box). The frame itself stays with its owner,
// which this object reads and moves through the callbacks.

#include "core/camera/QuickFrameMover.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

#include <functional>

class QTimer;
class QWidget;

namespace portiqa {

struct QuickFrameAccess {
    std::function<QPoint()> position;
    std::function<void(QPoint)> moveTo;
    std::function<QSize()> groupBoxSize;
    std::function<QSize()> outputSize;
};

class QuickFrameInput : public QObject {
    Q_OBJECT
public:
    QuickFrameInput(QuickFrameAccess access, QObject* parent = nullptr);

    void watchBar(QWidget* bar);
    void watchMoveButton(QWidget* button, FrameDirection direction);
    // Ends a held move or a drag (the window is closing).
    void stop();

    QTimer* timer() const { return timer_; }
    const QuickFrameMover& mover() const { return mover_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool barEvent(QWidget* bar, QEvent* event);
    bool moveButtonEvent(FrameDirection direction, QEvent* event);
    void tick();

    QuickFrameAccess access_;
    QuickFrameMover mover_;
    QTimer* timer_;
    QList<QWidget*> bars_;
    QList<std::pair<QWidget*, FrameDirection>> buttons_;
    bool dragging_ = false;
    QPoint dragStartFrame_;
    QPoint dragStartMouse_;
    QPointer<QWidget> grabber_;
};

} // namespace portiqa
