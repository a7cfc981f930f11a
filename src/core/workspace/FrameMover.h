#pragma once

// The held-move logic of the four frame-move buttons, driven by tick() so it can be tested
// without a timer. A press moves one pixel at once; while held, the first nine ticks only
// wait and every tick from the tenth on moves one more pixel. The GUI runs a 5 ms timer
// exactly while running() is true.

#include "core/dialogs/Dialogs.h"

#include <QPoint>

namespace portiqa {

class PhotoWorkspace;

enum class FrameDirection { Up, Down, Left, Right };

// The one-pixel move of a direction, for the workspace's frame and the quick-shoot frame.
QPoint frameStep(FrameDirection direction);

class FrameMover {
public:
    static constexpr int TickIntervalMs = 5;
    static constexpr int FirstMovingTick = 10;

    FrameMover(PhotoWorkspace& workspace, Dialogs& dialogs);

    // Left button down on a move button. Without a picture it tells the operator and does
    // not start. Returns whether the repeat timer should run.
    bool press(FrameDirection direction);
    // One timer tick; stops itself when the picture is gone.
    void tick();
    // Left button up on a move button: ends the move wherever the pointer is.
    void release(FrameDirection direction);

    bool running() const { return running_; }
    int repeatTicks() const { return repeatTicks_; }

private:
    static int index(FrameDirection direction) { return static_cast<int>(direction); }

    PhotoWorkspace& workspace_;
    Dialogs& dialogs_;
    bool held_[4] = {false, false, false, false}; // up, down, left, right
    int repeatTicks_ = 0;
    bool running_ = false;
};

} // namespace portiqa
