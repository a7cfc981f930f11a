#include "gui/workspace/FrameMoveButtons.h"

#include <QAbstractButton>
#include <QWidget>

namespace portiqa {

FrameMoveButtons::FrameMoveButtons(FrameMover& mover, QWidget* focusTarget, QTimer* repeatTimer,
                                   QObject* parent)
    : QObject(parent), mover_(mover), focusTarget_(focusTarget),
      timer_(repeatTimer ? repeatTimer : new QTimer(this)) {
    if (!repeatTimer) {
        timer_->setObjectName(QStringLiteral("截图时钟"));
    }
    timer_->stop();
    timer_->setInterval(FrameMover::TickIntervalMs);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] {
        mover_.tick();
        syncTimer();
    });
}

void FrameMoveButtons::attach(QAbstractButton* button, FrameDirection direction) {
    connect(button, &QAbstractButton::pressed, this, [this, direction] { pressed(direction); });
    connect(button, &QAbstractButton::released, this, [this, direction] { released(direction); });
}

void FrameMoveButtons::pressed(FrameDirection direction) {
    mover_.press(direction);
    syncTimer();
}

void FrameMoveButtons::released(FrameDirection direction) {
    mover_.release(direction);
    syncTimer();
    if (focusTarget_) {
        focusTarget_->setFocus(Qt::OtherFocusReason);
    }
}

void FrameMoveButtons::syncTimer() {
    if (mover_.running() && !timer_->isActive()) {
        timer_->start();
    } else if (!mover_.running() && timer_->isActive()) {
        timer_->stop();
    }
}

} // namespace portiqa
