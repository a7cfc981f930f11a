#include "core/camera/QuickFrameMover.h"

namespace portiqa {

QPoint QuickFrameMover::step(FrameDirection direction) {
    switch (direction) {
    case FrameDirection::Up:
        return {0, -1};
    case FrameDirection::Down:
        return {0, 1};
    case FrameDirection::Left:
        return {-1, 0};
    case FrameDirection::Right:
        return {1, 0};
    }
    return {};
}

QPoint QuickFrameMover::press(FrameDirection direction) {
    direction_ = direction;
    ticks_ = 0;
    return step(direction);
}

QPoint QuickFrameMover::tick() {
    if (!direction_) {
        return {};
    }
    ++ticks_;
    return ticks_ >= kFirstMovingTick ? step(*direction_) : QPoint();
}

void QuickFrameMover::release() {
    direction_.reset();
    ticks_ = 0;
}

} // namespace portiqa
