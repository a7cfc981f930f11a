#include "gui/workspace/WorkspaceController.h"

#include "gui/workspace/FrameMoveButtons.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceScrollBars.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>

namespace portiqa {

WorkspaceController::WorkspaceController(Dialogs& dialogs, QWidget* pictureAreaParent,
                                         QObject* parent)
    : QObject(parent), dialogs_(dialogs), sources_(workspace_, dialogs),
      mover_(workspace_, dialogs),
      pictureArea_(new PictureAreaWidget(workspace_, pictureAreaParent)) {
    pictureArea_->setGeometry(QRect(QPoint(4, 48), workspace_.areaSize()));
    connect(pictureArea_, &PictureAreaWidget::pasteRequested, this,
            &WorkspaceController::pasteFromClipboard);
    connect(pictureArea_, &PictureAreaWidget::copyRequested, this,
            &WorkspaceController::copyToClipboard);
    connect(pictureArea_, &PictureAreaWidget::filesDropped, this, &WorkspaceController::dropUrls);
    moveButtons_ = new FrameMoveButtons(mover_, pictureArea_, this);
}

WorkspaceController::~WorkspaceController() = default;

void WorkspaceController::attachScrollBars(QScrollBar* horizontal, QScrollBar* vertical) {
    horizontalBar_ = horizontal;
    verticalBar_ = vertical;
    scrollBars_ = new WorkspaceScrollBars(workspace_, horizontal, vertical, pictureArea_, this);
}

void WorkspaceController::attachMoveButton(QAbstractButton* button, FrameDirection direction) {
    moveButtons_->attach(button, direction);
}

MainWindowLayout WorkspaceController::applyLayout(QSize clientSize) {
    const MainWindowLayout layout = MainWindowLayout::compute(
        clientSize.width() + MainWindowLayout::HorizontalAllowance,
        clientSize.height() + MainWindowLayout::VerticalAllowance, workspace_.frame().size());
    pictureArea_->setGeometry(layout.pictureArea);
    if (horizontalBar_) {
        horizontalBar_->setGeometry(layout.horizontalScroll);
    }
    if (verticalBar_) {
        verticalBar_->setGeometry(layout.verticalScroll);
    }
    workspace_.moveFrameTo(layout.frameTopLeft);
    workspace_.setAreaSize(layout.pictureArea.size()); // redraws when a picture is loaded
    if (workspace_.pictureLoaded()) {
        focusPictureArea();
    }
    return layout;
}

bool WorkspaceController::openPicture() {
    const bool loaded = sources_.openPicture();
    focusPictureArea();
    return loaded;
}

bool WorkspaceController::openFile(const QString& path) {
    const bool loaded = sources_.loadPictureFile(path);
    focusPictureArea();
    return loaded;
}

void WorkspaceController::zoomIn() {
    if (workspace_.zoomIn()) {
        focusPictureArea();
    }
}

void WorkspaceController::zoomOut() {
    if (workspace_.zoomOut()) {
        focusPictureArea();
    }
}

void WorkspaceController::turn(bool clockwise) {
    if (!workspace_.pictureLoaded()) {
        return;
    }
    if (!workspace_.turnQuarter(clockwise)) {
        dialogs_.inform(QStringLiteral("提示："), QStringLiteral("旋转失败！"), MessageIcon::None);
    }
}

void WorkspaceController::pasteFromClipboard() {
    sources_.pastePicture(QGuiApplication::clipboard()->image());
}

void WorkspaceController::copyToClipboard() {
    const QImage block = sources_.copyFramedRegion();
    if (!block.isNull()) {
        QGuiApplication::clipboard()->setImage(block);
    }
}

void WorkspaceController::dropUrls(const QList<QUrl>& urls) {
    if (sources_.dropUrls(urls)) {
        focusPictureArea();
    }
}

void WorkspaceController::setFrameSize(QSize size) {
    workspace_.setFrameSize(size);
}

void WorkspaceController::setFrameColour(const QColor& colour) {
    workspace_.setFrameColour(colour);
    if (workspace_.pictureLoaded()) {
        focusPictureArea();
    }
}

void WorkspaceController::focusPictureArea() {
    pictureArea_->setFocus(Qt::OtherFocusReason);
}

} // namespace portiqa
