#include "gui/camera/CameraWindow.h"

#include "core/camera/CameraWindowSizing.h"
#include "core/text/Numbers.h"
#include "gui/camera/PreviewWidget.h"
#include "gui/camera/QuickFrameInput.h"
#include "platform/camera/CameraBackend.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace portiqa {

namespace cs = camerasizing;

namespace {

QString helpText() {
    return QStringLiteral(
        "\n  1、您的摄像头没有安装驱动程序？\n\n  2、您的摄像头没有连接到电脑？\n\n"
        "  3、您打开了别的摄像头软件？请关闭qq视频等软件。\n\n  4、你还没有摄像头？");
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

CameraWindow::CameraWindow(CameraBackend& camera, double& aspect, CameraWindowHooks hooks,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), camera_(camera), aspect_(aspect), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("摄像预览"));
    setWindowTitle(QStringLiteral("摄像预览"));
    buildControls();
    connect(&camera_, &CameraBackend::frameArrived, this, &CameraWindow::frameArrived);
    connect(&camera_, &CameraBackend::connectionLost, this, &CameraWindow::showFailedState);
}

// The camera may be gone by now (a closed window is deleted later); closing released it.
CameraWindow::~CameraWindow() = default;

void CameraWindow::buildControls() {
    groupBox_ = new QGroupBox(QStringLiteral("摄像"), this);
    groupBox_->setObjectName(QStringLiteral("摄像分组框"));
    preview_ = new PreviewWidget(groupBox_);
    preview_->setObjectName(QStringLiteral("视频设备1"));
    label1_ = new QLabel(QStringLiteral("    无法连接摄像头哦"), groupBox_);
    label1_->setObjectName(QStringLiteral("标签1"));
    label1_->setGeometry(1, 15, 427, 33);
    label2_ = new QLabel(helpText(), groupBox_);
    label2_->setObjectName(QStringLiteral("标签2"));
    label2_->setGeometry(1, 48, 427, 282);
    label2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    capturePanel_ = new QWidget(groupBox_);
    capturePanel_->setObjectName(QStringLiteral("拍图采集画板"));
    capturePanel_->hide();
    const char16_t* barNames[] = {u"拍图采集框上标签", u"拍图采集框下标签", u"拍图采集框左标签",
                                  u"拍图采集框右标签"};
    for (int i = 0; i < 4; ++i) {
        bars_[i] = new QLabel(groupBox_);
        bars_[i]->setObjectName(QString::fromUtf16(barNames[i]));
        bars_[i]->setAutoFillBackground(true);
        bars_[i]->setCursor(Qt::SizeAllCursor);
        bars_[i]->hide();
    }

    deviceButton_ = button(this, QStringLiteral("设备参数按钮"), QStringLiteral("设备参数"));
    formatButton_ = button(this, QStringLiteral("视频格式按钮"), QStringLiteral("视频格式"));
    quickSettingsButton_ = button(this, QStringLiteral("速拍设置按钮"), QStringLiteral("速拍设置"));
    shootButton_ = button(this, QStringLiteral("拍照按钮"), shootCaption());
    quickBox_ = new QCheckBox(QStringLiteral("使用批量速拍模式"), this);
    quickBox_->setObjectName(QStringLiteral("启用速拍选择框"));
    const char16_t* moveNames[] = {u"拍图上移按钮", u"拍图下移按钮", u"拍图左移按钮",
                                   u"拍图右移按钮"};
    const char16_t* arrows[] = {u"↑", u"↓", u"←", u"→"};
    for (int i = 0; i < 4; ++i) {
        moveButtons_[i] =
            button(this, QString::fromUtf16(moveNames[i]), QString::fromUtf16(arrows[i]));
        moveButtons_[i]->hide();
    }
    quickSettingsButton_->hide();
    QuickFrameAccess access;
    access.position = [this] { return quickFrame_; };
    access.moveTo = [this](QPoint topLeft) { moveQuickFrameTo(topLeft); };
    access.groupBoxSize = [this] { return groupBox_->size(); };
    access.outputSize = [this] { return hooks_.outputSize(); };
    frameInput_ = new QuickFrameInput(std::move(access), this);
    for (QLabel* b : bars_) {
        frameInput_->watchBar(b);
    }
    for (int i = 0; i < 4; ++i) {
        frameInput_->watchMoveButton(moveButtons_[i], static_cast<FrameDirection>(i));
    }

    connect(shootButton_, &QPushButton::clicked, this, &CameraWindow::shootClicked);
    connect(deviceButton_, &QPushButton::clicked, this, [this] {
        hooks_.runDeviceDialog();
        afterDriverDialog();
    });
    connect(formatButton_, &QPushButton::clicked, this, [this] {
        hooks_.runFormatDialog();
        afterDriverDialog();
    });
    connect(quickSettingsButton_, &QPushButton::clicked, this,
            [this] { hooks_.openQuickSettings(); });
    connect(quickBox_, &QCheckBox::clicked, this, [this](bool ticked) {
        hooks_.quickBoxClicked(ticked);
        showQuickControls(hooks_.quickShootMode());
    });
}

QTimer* CameraWindow::moveTimer() const {
    return frameInput_->timer();
}

const QuickFrameMover& CameraWindow::mover() const {
    return frameInput_->mover();
}

QPushButton* CameraWindow::moveButton(FrameDirection direction) const {
    return moveButtons_[static_cast<int>(direction)];
}

bool CameraWindow::connected() const {
    return camera_.isConnected();
}

QSize CameraWindow::previewSize() const {
    return preview_->size();
}

QSize CameraWindow::effectiveSize() const {
    return size() + QSize(cs::kDesignFrameWidth, cs::kDesignFrameHeight);
}

const QImage& CameraWindow::previewImage() const {
    return preview_->shownImage();
}

bool CameraWindow::connectCamera() {
    // The last camera of the list, as the driver-slot rule takes it: with one webcam, that one.
    const int count = int(camera_.devices().size());
    return count > 0 && camera_.connectDevice(count - 1);
}

void CameraWindow::open(QPoint mainTopLeft) {
    initialising_ = true;
    setFrameColour(hooks_.frameColour());
    if (connectCamera()) {
        probeFrameAspect();
        sizeCameraWindow(mainTopLeft);
        showConnectedState();
    } else {
        sizeCameraWindow(mainTopLeft);
        showFailedState();
    }
    initialising_ = false;
}

void CameraWindow::showConnectedState() {
    shootButton_->setText(shootCaption());
    quickBox_->show();
    const bool quick = hooks_.quickShootMode();
    setQuickBoxTicked(quick);
    showQuickControls(quick);
    label1_->hide();
    label2_->hide();
    preview_->show();
    deviceButton_->show();
    formatButton_->show();
    camera_.setFrameInterval(kPreviewIntervalMs);
}

void CameraWindow::showFailedState() {
    preview_->hide();
    preview_->clear();
    deviceButton_->hide();
    formatButton_->hide();
    quickSettingsButton_->hide();
    for (QLabel* b : bars_) {
        b->hide();
    }
    for (QPushButton* b : moveButtons_) {
        b->hide();
    }
    quickBox_->hide();
    label1_->show();
    label2_->show();
    shootButton_->setText(retryCaption());
}

void CameraWindow::retry() {
    if (connectCamera()) {
        showConnectedState();
    } else {
        showFailedState();
    }
}

void CameraWindow::shootClicked() {
    if (shootButton_->text() == retryCaption()) {
        retry();
    } else if (hooks_.quickShootMode()) {
        hooks_.quickShot();
    } else {
        hooks_.takePhoto(preview_->shownImage());
    }
}

void CameraWindow::probeFrameAspect() {
    const QImage frame = camera_.currentFrame();
    if (frame.width() <= 0 || frame.height() <= 0) {
        return; // nothing measured: the ratio stays
    }
    lastProbedFrame_ = frame.size();
    const double ratio = double(frame.height()) / frame.width();
    if (!numbers::nearlyEqual(ratio, aspect_)) {
        aspect_ = ratio;
    }
}

void CameraWindow::frameArrived() {
    const QImage frame = camera_.currentFrame();
    if (!frame.isNull() && frame.size() != lastProbedFrame_) {
        // The frames changed shape (a new format took effect): the preview follows.
        const double before = aspect_;
        probeFrameAspect();
        if (!initialising_ && aspect_ != before) {
            relayoutCameraWindow();
        }
    }
    if (camera_.isConnected()) {
        preview_->setFrame(frame);
    }
}

void CameraWindow::afterDriverDialog() {
    if (!camera_.isConnected()) {
        showFailedState();
        return;
    }
    probeFrameAspect();
    relayoutCameraWindow();
}

void CameraWindow::sizeCameraWindow(QPoint mainTopLeft) {
    applyPreviewSize(cs::initialPreview(hooks_.outputSize(), aspect_));
    // Beside the main window, but never reaching past the screen: 拍 照 sits at the bottom
    // right of a window that a large output and a wide camera make large.
    const QPoint wanted = mainTopLeft + QPoint(100, 60);
    QScreen* screen = QGuiApplication::screenAt(mainTopLeft);
    if (screen == nullptr) {
        screen = this->screen();
    }
    const QSize frame = size() + QSize(cs::kDesignFrameWidth, cs::kDesignFrameHeight);
    move(screen != nullptr ? cs::placeInside(wanted, frame, screen->availableGeometry()) : wanted);
}

void CameraWindow::relayoutCameraWindow() {
    applyPreviewSize(cs::relayoutPreview(effectiveSize(), lastWindow_, aspect_));
}

void CameraWindow::outputSideChanged(bool widthEdit) {
    const QSize output = hooks_.outputSize();
    if (output.width() <= 0 || output.height() <= 0) {
        return; // an unusable size keeps the window as it is
    }
    applyPreviewSize(cs::previewAfterOutputEdit(widthEdit, output, lastWindow_, aspect_));
}

void CameraWindow::applyPreviewSize(QSize preview) {
    const cs::CameraLayout layout = cs::cameraLayout(preview);
    groupBox_->setGeometry(layout.groupBox);
    preview_->setGeometry(layout.preview);
    deviceButton_->setGeometry(layout.deviceButton);
    formatButton_->setGeometry(layout.formatButton);
    quickSettingsButton_->setGeometry(layout.quickSettingsButton);
    shootButton_->setGeometry(layout.shootButton);
    quickBox_->setGeometry(layout.quickCheckBox);
    moveButton(FrameDirection::Up)->setGeometry(layout.moveUp);
    moveButton(FrameDirection::Down)->setGeometry(layout.moveDown);
    moveButton(FrameDirection::Left)->setGeometry(layout.moveLeft);
    moveButton(FrameDirection::Right)->setGeometry(layout.moveRight);
    lastWindow_ = cs::windowSizeFor(preview);
    appliedClient_ = layout.client;
    applyingLayout_ = true;
    resize(layout.client);
    applyingLayout_ = false;
    centreQuickFrame();
}

void CameraWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Size events of the rules' own making (also when the window system delivers them late)
    // are not the operator's: answering them would make the rules recurse.
    if (initialising_ || applyingLayout_ || event->size() == appliedClient_) {
        return;
    }
    relayoutCameraWindow();
}

void CameraWindow::setFrameColour(const QColor& colour) {
    for (QLabel* b : bars_) {
        QPalette palette = b->palette();
        palette.setColor(QPalette::Window, colour);
        b->setPalette(palette);
    }
}

void CameraWindow::setQuickBoxTicked(bool ticked) {
    quickBox_->setChecked(ticked);
}

void CameraWindow::showQuickControls(bool on) {
    centreQuickFrame();
    const bool visible = on && shootButton_->text() == shootCaption();
    for (QLabel* b : bars_) {
        b->setVisible(visible);
        b->raise();
    }
    quickSettingsButton_->setVisible(visible);
    for (QPushButton* b : moveButtons_) {
        b->setVisible(visible);
    }
}

void CameraWindow::centreQuickFrame() {
    quickFrame_ = quickframe::centred(preview_->geometry(), hooks_.outputSize());
    placeQuickFrame();
}

void CameraWindow::moveQuickFrameTo(QPoint topLeft) {
    quickFrame_ = topLeft;
    placeQuickFrame();
}

void CameraWindow::placeQuickFrame() {
    const QuickFrameGeometry g = quickframe::geometry(quickFrame_, hooks_.outputSize());
    capturePanel_->setGeometry(g.panel);
    bars_[0]->setGeometry(g.topBar);
    bars_[1]->setGeometry(g.bottomBar);
    bars_[2]->setGeometry(g.leftBar);
    bars_[3]->setGeometry(g.rightBar);
}

QImage CameraWindow::quickFrameShot() const {
    return quickframe::shot(preview_->shownImage(), preview_->geometry(),
                            QRect(quickFrame_, hooks_.outputSize()),
                            groupBox_->palette().color(QPalette::Window));
}

void CameraWindow::closeEvent(QCloseEvent* event) {
    frameInput_->stop();
    camera_.disconnectDevice();
    preview_->clear();
    QWidget::closeEvent(event);
    hooks_.closed();
}

} // namespace portiqa
