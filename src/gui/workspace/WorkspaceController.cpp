#include "gui/workspace/WorkspaceController.h"

#include "gui/workspace/FrameMoveButtons.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceScrollBars.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>

namespace portiqa {

WorkspaceController::WorkspaceController(Dialogs& dialogs, QWidget* pictureAreaHost,
                                         QObject* parent)
    : QObject(parent), dialogs_(dialogs), sources_(workspace_, dialogs),
      mover_(workspace_, dialogs), loader_(workspace_, dialogs), host_(pictureAreaHost),
      pictureArea_(new PictureAreaWidget(workspace_, pictureAreaHost)) {
    // One size throughout: the view covers the host, border included, and sits below the
    // host's other children (the editor's text box).
    pictureArea_->setGeometry(host_->rect());
    pictureArea_->lower();
    pictureArea_->show();
    host_->setFocusProxy(pictureArea_);
    host_->installEventFilter(this);
    workspace_.setAreaSize(host_->size());
    sources_.setFileLoader([this](const QString& path) { loader_.loadFile(path); });
    sources_.setPictureShower(
        [this](const QImage& picture) { return loader_.showPicture(picture, true); });
    connect(pictureArea_, &PictureAreaWidget::pasteRequested, this,
            &WorkspaceController::pasteFromClipboard);
    connect(pictureArea_, &PictureAreaWidget::copyRequested, this,
            &WorkspaceController::copyToClipboard);
    connect(pictureArea_, &PictureAreaWidget::filesDropped, this, &WorkspaceController::dropUrls);
}

WorkspaceController::~WorkspaceController() {
    // The view reads our workspace: it must not outlive it inside the window.
    delete pictureArea_.data();
}

PictureAreaWidget* WorkspaceController::pictureArea() const {
    return pictureArea_.data();
}

void WorkspaceController::attachScrollBars(QScrollBar* horizontal, QScrollBar* vertical) {
    horizontalBar_ = horizontal;
    verticalBar_ = vertical;
    scrollBars_ = new WorkspaceScrollBars(workspace_, horizontal, vertical, pictureArea_, this);
}

void WorkspaceController::attachMoveButtons(QAbstractButton* up, QAbstractButton* down,
                                            QAbstractButton* left, QAbstractButton* right,
                                            QTimer* repeatTimer) {
    moveButtons_ = new FrameMoveButtons(mover_, pictureArea_, repeatTimer, this);
    moveButtons_->attach(up, FrameDirection::Up);
    moveButtons_->attach(down, FrameDirection::Down);
    moveButtons_->attach(left, FrameDirection::Left);
    moveButtons_->attach(right, FrameDirection::Right);
}

void WorkspaceController::attachCapturePanel(QWidget* capturePanel) {
    capturePanel->hide();
    capturePanel->setGeometry(workspace_.frame().rect());
    connect(&workspace_, &PhotoWorkspace::frameMoved, capturePanel,
            [capturePanel](QRect frame) { capturePanel->setGeometry(frame); });
}

void WorkspaceController::acceptDropsOn(QWidget* widget) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool WorkspaceController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize) {
        pictureArea_->setGeometry(host_->rect());
    } else if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (enter->mimeData()->hasUrls()) {
            enter->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (!urls.isEmpty()) {
            drop->acceptProposedAction();
            // Messages about the drop come after the drag has ended, not inside it.
            QTimer::singleShot(0, this, [this, urls] { dropUrls(urls); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

MainWindowLayout WorkspaceController::layoutMainWindow(int effectiveWidth, int effectiveHeight) {
    const MainWindowLayout layout = computeMainWindowLayout(effectiveWidth, effectiveHeight);
    host_->setGeometry(layout.pictureArea);
    pictureArea_->setGeometry(host_->rect());
    if (horizontalBar_) {
        horizontalBar_->setGeometry(layout.horizontalBar);
    }
    if (verticalBar_) {
        verticalBar_->setGeometry(layout.verticalBar);
    }
    const QSize area = layout.pictureArea.size().expandedTo(QSize(0, 0));
    workspace_.moveFrameTo(centredFramePosition(area, workspace_.frame().size()));
    workspace_.setAreaSize(area); // redraws when a picture is loaded
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

void WorkspaceController::waitForPicture() {
    loader_.waitForPicture();
}

QImage WorkspaceController::captureFramedImage() {
    waitForPicture();
    if (beforeCapture_) {
        beforeCapture_();
    }
    return workspace_.captureFramedImage();
}

void WorkspaceController::turn(bool clockwise) {
    waitForPicture();
    if (!workspace_.pictureLoaded()) {
        return;
    }
    if (!workspace_.turnQuarter(clockwise)) {
        dialogs_.inform(QStringLiteral("提示："), QStringLiteral("旋转失败！"), MessageIcon::None);
    }
}

void WorkspaceController::pasteFromClipboard() {
    // A pasted picture replaces whatever was still loading; a failed paste leaves it loading.
    sources_.pastePicture(QGuiApplication::clipboard()->image());
}

void WorkspaceController::showCameraPhoto(const QImage& photo) {
    loader_.showPicture(photo, false);
}

void WorkspaceController::copyToClipboard() {
    waitForPicture();
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
