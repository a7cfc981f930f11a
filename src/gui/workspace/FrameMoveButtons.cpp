#include "gui/workspace/FrameMoveButtons.h"

#include <QAbstractButton>
#include <QMouseEvent>
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
    directions_.insert(button, direction);
    button->installEventFilter(this);
}

bool FrameMoveButtons::eventFilter(QObject* watched, QEvent* event) {
    const auto found = directions_.constFind(watched);
    if (found == directions_.cend()) {
        return QObject::eventFilter(watched, event);
    }
    // The button still gets the event and draws itself pressed or raised as usual.
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
        type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (type == QEvent::MouseButtonRelease) {
                released(*found);
            } else {
                pressed(*found);
            }
        }
    }
    return QObject::eventFilter(watched, event);
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
