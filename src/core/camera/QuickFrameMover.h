#pragma once

// The held move of the quick-shoot frame's four buttons, driven by tick() so it can be tested
// without a timer: a press moves one pixel at once; while the button is held the first nine
// ticks only wait and every tick from the tenth on moves one pixel more. The move ends only
// when the mouse button is released, wherever the pointer is by then. Moves are not bounded.

#include "core/workspace/FrameMover.h"

#include <QPoint>

#include <optional>

namespace portiqa {

class QuickFrameMover {
public:
    static constexpr int kTickIntervalMs = 5;
    static constexpr int kFirstMovingTick = 10;

    // Left button down on a move button: the one-pixel step to make now.
    QPoint press(FrameDirection direction);
    // A tick of the 5 ms timer: the step to make now (none before the tenth tick).
    QPoint tick();
    // Left button up: the move ends.
    void release();

    bool held() const { return direction_.has_value(); }
    int ticks() const { return ticks_; }

private:
    std::optional<FrameDirection> direction_;
    int ticks_ = 0;
};

} // namespace portiqa
