#include "core/camera/QuickFrameMover.h"

namespace portiqa {

QPoint QuickFrameMover::press(FrameDirection direction) {
    direction_ = direction;
    ticks_ = 0;
    return frameStep(direction);
}

QPoint QuickFrameMover::tick() {
    if (!direction_) {
        return {};
    }
    ++ticks_;
    return ticks_ >= kFirstMovingTick ? frameStep(*direction_) : QPoint();
}

void QuickFrameMover::release() {
    direction_.reset();
    ticks_ = 0;
}

} // namespace portiqa
