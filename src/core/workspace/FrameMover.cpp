#include "core/workspace/FrameMover.h"

#include "core/workspace/PhotoWorkspace.h"

namespace portiqa {

QPoint frameStep(FrameDirection direction) {
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

FrameMover::FrameMover(PhotoWorkspace& workspace, Dialogs& dialogs)
    : workspace_(workspace), dialogs_(dialogs) {}

bool FrameMover::press(FrameDirection direction) {
    if (!workspace_.pictureLoaded()) {
        dialogs_.inform(QStringLiteral("提示"),
                        QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。"),
                        MessageIcon::None);
        return false;
    }
    workspace_.commitPendingText();
    const QPoint step = frameStep(direction);
    workspace_.stepFrame(step.x(), step.y());
    held_[index(direction)] = true;
    repeatTicks_ = 0;
    running_ = true;
    return true;
}

void FrameMover::tick() {
    if (!workspace_.pictureLoaded()) {
        running_ = false;
        return;
    }
    ++repeatTicks_;
    if (repeatTicks_ < FirstMovingTick) {
        return;
    }
    for (FrameDirection direction :
         {FrameDirection::Up, FrameDirection::Down, FrameDirection::Left, FrameDirection::Right}) {
        if (held_[index(direction)]) {
            const QPoint step = frameStep(direction);
            workspace_.stepFrame(step.x(), step.y());
            return;
        }
    }
}

void FrameMover::release(FrameDirection direction) {
    held_[index(direction)] = false;
    repeatTicks_ = 0;
    running_ = false;
}

} // namespace portiqa
