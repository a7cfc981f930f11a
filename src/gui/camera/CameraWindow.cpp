#include "gui/camera/CameraWindow.h"

#include "gui/camera/CameraConnection.h"
#include "gui/camera/CameraWindowSizer.h"
#include "gui/camera/PreviewWidget.h"
#include "gui/camera/QuickFrameOverlay.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace portiqa {

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
    : QWidget(parent, Qt::Window), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("摄像预览"));
    setWindowTitle(QStringLiteral("摄像预览"));
    buildControls();
    sizer_ = std::make_unique<CameraWindowSizer>(
        *this, [this](const camerasizing::CameraLayout& layout) { placeControls(layout); });
    connection_ = new CameraConnection(camera, aspect, this);
    connect(connection_, &CameraConnection::ratioChanged, this, &CameraWindow::ratioChanged);
    connect(connection_, &CameraConnection::waitEnded, this, &CameraWindow::showConnectedState);
    connect(connection_, &CameraConnection::frameArrived, preview_, &PreviewWidget::setFrame);
    connect(connection_, &CameraConnection::connectionLost, this, &CameraWindow::showFailedState);
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

    deviceButton_ = button(this, QStringLiteral("设备参数按钮"), QStringLiteral("设备参数"));
    formatButton_ = button(this, QStringLiteral("视频格式按钮"), QStringLiteral("视频格式"));
    quickSettingsButton_ = button(this, QStringLiteral("速拍设置按钮"), QStringLiteral("速拍设置"));
    shootButton_ = button(this, QStringLiteral("拍照按钮"), shootCaption());
    quickBox_ = new QCheckBox(QStringLiteral("使用批量速拍模式"), this);
    quickBox_->setObjectName(QStringLiteral("启用速拍选择框"));
    quickFrame_ = new QuickFrameOverlay(
        groupBox_, this, [this] { return hooks_.outputSize(); }, this);
    quickSettingsButton_->hide();

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
    return quickFrame_->moveTimer();
}

const QuickFrameMover& CameraWindow::mover() const {
    return quickFrame_->mover();
}

QPushButton* CameraWindow::moveButton(FrameDirection direction) const {
    return quickFrame_->moveButton(direction);
}

QWidget* CameraWindow::capturePanel() const {
    return quickFrame_->capturePanel();
}

QLabel* CameraWindow::bar(int index) const {
    return quickFrame_->bar(index);
}

QPoint CameraWindow::quickFrameTopLeft() const {
    return quickFrame_->topLeft();
}

bool CameraWindow::connected() const {
    return connection_->connected();
}

bool CameraWindow::connecting() const {
    return connection_->waiting();
}

QSize CameraWindow::previewSize() const {
    return preview_->size();
}

QSize CameraWindow::effectiveSize() const {
    return sizer_->effectiveSize();
}

const QImage& CameraWindow::previewImage() const {
    return preview_->shownImage();
}

void CameraWindow::open(QPoint mainTopLeft) {
    initialising_ = true;
    setFrameColour(hooks_.frameColour());
    const bool connected = connection_->connectCamera();
    // A camera that had its first frame at once has been measured by now; a late one is sized
    // for again when its frame comes (ratioChanged()).
    sizer_->sizeForOpening(hooks_.outputSize(), connection_->aspect(),
                           mainTopLeft + QPoint(100, 60));
    showAfterConnecting(connected);
    initialising_ = false;
}

void CameraWindow::showAfterConnecting(bool connected) {
    if (!connected) {
        showFailedState();
    } else if (connection_->waiting()) {
        showConnectingState();
    } else {
        showConnectedState();
    }
}

void CameraWindow::showConnectingState() {
    label1_->hide();
    label2_->hide();
    preview_->clear();
    preview_->setPlaceholderText(connectingText());
    preview_->show();
    deviceButton_->hide();
    formatButton_->hide();
    quickSettingsButton_->hide();
    quickFrame_->setVisible(false);
    quickBox_->hide();
    shootButton_->setText(shootCaption());
    shootButton_->setEnabled(false); // nothing to photograph yet
}

void CameraWindow::showConnectedState() {
    preview_->setPlaceholderText(QString());
    shootButton_->setText(shootCaption());
    shootButton_->setEnabled(true);
    quickBox_->show();
    const bool quick = hooks_.quickShootMode();
    setQuickBoxTicked(quick);
    showQuickControls(quick);
    label1_->hide();
    label2_->hide();
    preview_->show();
    deviceButton_->show();
    formatButton_->show();
    connection_->setFrameInterval(kPreviewIntervalMs);
}

void CameraWindow::showFailedState() {
    preview_->hide();
    preview_->clear();
    preview_->setPlaceholderText(QString());
    deviceButton_->hide();
    formatButton_->hide();
    quickSettingsButton_->hide();
    quickFrame_->setVisible(false);
    quickBox_->hide();
    label1_->show();
    label2_->show();
    shootButton_->setText(retryCaption());
    shootButton_->setEnabled(true);
}

void CameraWindow::shootClicked() {
    if (shootButton_->text() == retryCaption()) {
        showAfterConnecting(connection_->connectCamera());
    } else if (connecting()) {
        return; // no frame yet
    } else if (hooks_.quickShootMode()) {
        hooks_.quickShot();
    } else {
        hooks_.takePhoto(preview_->shownImage());
    }
}

void CameraWindow::ratioChanged(bool firstShape) {
    if (initialising_) {
        return; // open() sizes the window next
    }
    if (firstShape) {
        // The shape the window should have been opened with: the opening rule, as on a
        // reopening, where the ratio is already known.
        sizer_->sizeForOpening(hooks_.outputSize(), connection_->aspect());
    } else {
        sizer_->formatChanged(connection_->aspect()); // the preview follows the new format
    }
}

void CameraWindow::afterDriverDialog() {
    if (!connection_->connected()) {
        showFailedState();
        return;
    }
    connection_->probeFrameAspect();
    sizer_->formatChanged(connection_->aspect());
}

void CameraWindow::relayoutCameraWindow() {
    sizer_->relayout(connection_->aspect());
}

void CameraWindow::outputSideChanged(bool widthEdit) {
    const QSize output = hooks_.outputSize();
    if (output.width() <= 0 || output.height() <= 0) {
        return; // an unusable size keeps the window as it is
    }
    sizer_->outputEdited(widthEdit, output, connection_->aspect());
}

void CameraWindow::placeControls(const camerasizing::CameraLayout& layout) {
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
    centreQuickFrame();
}

void CameraWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Size events of the rules' own making (also when the window system delivers them late)
    // are not the operator's: answering them would make the rules recurse.
    if (initialising_ || sizer_->ownResize(event->size())) {
        return;
    }
    relayoutCameraWindow();
}

void CameraWindow::setFrameColour(const QColor& colour) {
    quickFrame_->setColour(colour);
}

void CameraWindow::setQuickBoxTicked(bool ticked) {
    quickBox_->setChecked(ticked);
}

void CameraWindow::showQuickControls(bool on) {
    centreQuickFrame();
    const bool visible = on && shootButton_->text() == shootCaption() && !connecting();
    quickFrame_->setVisible(visible);
    quickSettingsButton_->setVisible(visible);
}

void CameraWindow::centreQuickFrame() {
    quickFrame_->centreOn(preview_->geometry());
}

void CameraWindow::moveQuickFrameTo(QPoint topLeft) {
    quickFrame_->moveTo(topLeft);
}

QImage CameraWindow::quickFrameShot() const {
    return quickFrame_->shot(preview_->shownImage(), preview_->geometry(),
                             groupBox_->palette().color(QPalette::Window));
}

void CameraWindow::closeEvent(QCloseEvent* event) {
    quickFrame_->stop();
    connection_->disconnectCamera();
    preview_->clear();
    QWidget::closeEvent(event);
    hooks_.closed();
}

} // namespace portiqa
