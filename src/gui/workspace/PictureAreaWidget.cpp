#include "gui/workspace/PictureAreaWidget.h"

#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/WorkspaceKeys.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

namespace portiqa {

PictureAreaWidget::PictureAreaWidget(PhotoWorkspace& workspace, QWidget* parent)
    : QWidget(parent), workspace_(workspace) {
    setObjectName(QStringLiteral("可视画板"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&workspace_, &PhotoWorkspace::viewChanged, this, qOverload<>(&QWidget::update));
}

QSize PictureAreaWidget::sizeHint() const {
    return workspace_.areaSize();
}

void PictureAreaWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(event->rect().topLeft(), workspace_.view(), event->rect());
}

void PictureAreaWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && pointerHook_ && pointerHook_(event)) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        workspace_.pressPointer(event->position().toPoint());
    } else if (event->button() == Qt::RightButton) {
        emit rightButtonPressed();
    }
}

void PictureAreaWidget::mouseMoveEvent(QMouseEvent* event) {
    if (pointerHook_ && pointerHook_(event)) {
        // handled by the editor's tool
    } else if (workspace_.pictureLoaded()) {
        const bool held = workspace_.buttonHeld();
        const bool overFrame = workspace_.movePointer(event->position().toPoint());
        if (!held) {
            updateCursor(overFrame);
        }
    }
    emit hovered();
    // Let the move travel on to the window's picture-area control, which sets the hint.
    event->ignore();
}

void PictureAreaWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pointerHook_ && pointerHook_(event)) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        workspace_.releasePointer();
    }
}

void PictureAreaWidget::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (!workspace_.pictureLoaded()) {
        return;
    }
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0) {
        workspace_.zoomByWheel(notches);
    }
    setFocus(Qt::OtherFocusReason);
}

void PictureAreaWidget::keyPressEvent(QKeyEvent* event) {
    switch (WorkspaceKeys::action(event->key(), event->modifiers())) {
    case WorkspaceKeyAction::FrameLeft:
        workspace_.stepFrame(-1, 0);
        break;
    case WorkspaceKeyAction::FrameUp:
        workspace_.stepFrame(0, -1);
        break;
    case WorkspaceKeyAction::FrameRight:
        workspace_.stepFrame(1, 0);
        break;
    case WorkspaceKeyAction::FrameDown:
        workspace_.stepFrame(0, 1);
        break;
    case WorkspaceKeyAction::ZoomIn:
        workspace_.zoomBy(PhotoWorkspace::ZoomInFactor);
        break;
    case WorkspaceKeyAction::ZoomOut:
        workspace_.zoomBy(PhotoWorkspace::ZoomOutFactor);
        break;
    case WorkspaceKeyAction::Paste:
        emit pasteRequested();
        break;
    case WorkspaceKeyAction::Copy:
        emit copyRequested();
        break;
    case WorkspaceKeyAction::None:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PictureAreaWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void PictureAreaWidget::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Messages about the drop are shown after the drag has finished, not inside it.
    QTimer::singleShot(0, this, [this, urls] { emit filesDropped(urls); });
}

void PictureAreaWidget::updateCursor(bool overFrame) {
    const Qt::CursorShape shape = overFrame ? Qt::SizeAllCursor : Qt::ArrowCursor;
    if (cursor().shape() != shape) {
        setCursor(shape);
    }
}

} // namespace portiqa
