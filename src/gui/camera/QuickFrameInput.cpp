#include "gui/camera/QuickFrameInput.h"

#include "core/camera/QuickFrame.h"

#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace portiqa {

QuickFrameInput::QuickFrameInput(QuickFrameAccess access, QObject* parent)
    : QObject(parent), access_(std::move(access)), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("拍图时钟"));
    timer_->setInterval(QuickFrameMover::kTickIntervalMs);
    connect(timer_, &QTimer::timeout, this, &QuickFrameInput::tick);
}

void QuickFrameInput::watchBar(QWidget* bar) {
    bars_.append(bar);
    bar->installEventFilter(this);
}

void QuickFrameInput::watchMoveButton(QWidget* button, FrameDirection direction) {
    buttons_.append({button, direction});
    button->installEventFilter(this);
}

void QuickFrameInput::stop() {
    timer_->stop();
    mover_.release();
    if (dragging_ && grabber_) {
        grabber_->releaseMouse();
    }
    dragging_ = false;
}

bool QuickFrameInput::eventFilter(QObject* watched, QEvent* event) {
    for (QWidget* bar : bars_) {
        if (watched == bar) {
            return barEvent(bar, event);
        }
    }
    for (const auto& [button, direction] : buttons_) {
        if (watched == button) {
            return moveButtonEvent(direction, event);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool QuickFrameInput::barEvent(QWidget* bar, QEvent* event) {
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse == nullptr) {
        return false;
    }
    const QPoint global = mouse->globalPosition().toPoint();
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        dragging_ = true;
        dragStartFrame_ = access_.position();
        dragStartMouse_ = global;
        // The frame follows the mouse until the button is released, wherever that is.
        grabber_ = bar;
        if (bar->isVisible()) {
            bar->grabMouse();
        }
        return true;
    }
    if (event->type() == QEvent::MouseMove && dragging_) {
        access_.moveTo(quickframe::clampedDrag(dragStartFrame_ + (global - dragStartMouse_),
                                               access_.groupBoxSize(), access_.outputSize()));
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
        dragging_) {
        dragging_ = false;
        if (grabber_) {
            grabber_->releaseMouse();
        }
        return true;
    }
    return false;
}

bool QuickFrameInput::moveButtonEvent(FrameDirection direction, QEvent* event) {
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse == nullptr || mouse->button() != Qt::LeftButton) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        access_.moveTo(access_.position() + mover_.press(direction));
        timer_->start();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // Only the release ends a held move; leaving the button while holding it does not.
        mover_.release();
        timer_->stop();
    }
    return false; // the button still shows itself pressed and released
}

void QuickFrameInput::tick() {
    const QPoint step = mover_.tick();
    if (!step.isNull()) {
        access_.moveTo(access_.position() + step);
    }
}

} // namespace portiqa
