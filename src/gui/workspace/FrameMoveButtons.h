#pragma once

// Glue between the four frame-move buttons (截图上移按钮, 截图下移按钮, 截图左移按钮,
// 截图右移按钮) and the held-move logic: a press moves at once and starts the 5 ms repeat
// timer (截图时钟), a release stops it and gives the keyboard focus back to the picture area.
//
// It listens to the mouse button itself, not to the buttons' pressed/released signals: those
// also fire when the pointer slides off a held button and back, and a held move must go on
// until the mouse button really comes up, wherever the pointer is then.

#include "core/workspace/FrameMover.h"

#include <QHash>
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(FrameDirection direction);
    void released(FrameDirection direction);
    void syncTimer();

    FrameMover& mover_;
    QWidget* focusTarget_;
    QTimer* timer_;
    QHash<QObject*, FrameDirection> directions_;
};

} // namespace portiqa
