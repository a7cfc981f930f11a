#pragma once

// Glue between the four frame-move buttons (截图上移按钮, 截图下移按钮, 截图左移按钮,
// 截图右移按钮) and the held-move logic: a press moves at once and starts the 5 ms repeat
// timer (截图时钟), a release stops it and gives the keyboard focus back to the picture area.

#include "core/workspace/FrameMover.h"

#include <QObject>
#include <QTimer>

class QAbstractButton;
class QWidget;

namespace portiqa {

class FrameMoveButtons : public QObject {
    Q_OBJECT
public:
    // `repeatTimer`: the window's timer to drive, or null to use one of our own.
    FrameMoveButtons(FrameMover& mover, QWidget* focusTarget, QTimer* repeatTimer = nullptr,
                     QObject* parent = nullptr);

    // Connects one button; call once for each direction.
    void attach(QAbstractButton* button, FrameDirection direction);

    const QTimer& timer() const { return *timer_; }

private:
    void pressed(FrameDirection direction);
    void released(FrameDirection direction);
    void syncTimer();

    FrameMover& mover_;
    QWidget* focusTarget_;
    QTimer* timer_;
};

} // namespace portiqa
