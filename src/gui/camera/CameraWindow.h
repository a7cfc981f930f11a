#pragma once

// The camera window "摄像预览" (modeless): the live preview of the connected camera, the two
// driver buttons, "拍 照" (or "重 试" when no camera connects, with the help text in place of
// the preview), and the quick-shoot controls: the check box, the settings button, the frame of
// four bars over the preview and its four move buttons.
//
// The window lays itself out by the sizing rules of core/camera from the output size and the
// camera's aspect; the size events that its own layout causes are ignored, so the rules never
// recurse. A webcam's first frame comes a moment after connecting: until it has come (or
// CameraConnection's wait has run out) the preview shows "正在连接摄像头…" and, when the frame
// has another shape than the ratio the window was opened with, the window is sized again by
// the opening rule, so a first opening looks like every later one. Whenever the program sizes
// the window it keeps it inside the screen's available area; the operator's own resizing is
// left alone.
//
// What the buttons do beyond the window (the photo into the workspace, the shot, the
// quick-shoot switch and settings) is handed to the hooks; CameraFeature fills them.
//
// GUI thread only. The window does not own the camera; it connects it on open() and releases
// it when it closes.

#include "core/camera/QuickFrameMover.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace portiqa {

namespace camerasizing {
struct CameraLayout;
}

class CameraBackend;
class CameraConnection;
class CameraWindowSizer;
class PreviewWidget;
class QuickFrameOverlay;

struct CameraWindowHooks {
    std::function<QSize()> outputSize;
    std::function<QColor()> frameColour;
    std::function<bool()> quickShootMode = [] { return false; };
    // The check box was clicked; the owner switches the mode (it may ask and open windows).
    std::function<void(bool ticked)> quickBoxClicked = [](bool) {};
    std::function<void()> openQuickSettings = [] {};
    // "拍 照" outside quick-shoot: the preview's picture, exactly as shown.
    std::function<void(const QImage& photo)> takePhoto = [](const QImage&) {};
    // "拍 照" in quick-shoot mode.
    std::function<void()> quickShot = [] {};
    // The driver dialogs; true when the operator changed something.
    std::function<bool()> runDeviceDialog = [] { return false; };
    std::function<bool()> runFormatDialog = [] { return false; };
    // The window is closing (the camera is already released).
    std::function<void()> closed = [] {};
};

class CameraWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewIntervalMs = 60;

    // `aspect` is the program's camera ratio (height / width); the window updates it when the
    // frames show another one.
    CameraWindow(CameraBackend& camera, double& aspect, CameraWindowHooks hooks,
                 QWidget* parent = nullptr);
    ~CameraWindow() override;

    // Connects the camera and sizes the window (the opening of the window); `mainTopLeft`
    // places it 100 to the right and 60 below the main window.
    void open(QPoint mainTopLeft);

    // The width or height edit of the main window took a new output size.
    void outputSideChanged(bool widthEdit);
    void setFrameColour(const QColor& colour);
    // Shows or hides the quick-shoot controls for the mode and centres the frame.
    void showQuickControls(bool on);
    void setQuickBoxTicked(bool ticked);

    // The shoot button's click, the driver buttons' follow-up and the resize rule, as the
    // operator's actions run them.
    void shootClicked();
    void afterDriverDialog();
    void relayoutCameraWindow();

    bool connected() const;
    // Connected, and the first frame has not come yet.
    bool connecting() const;
    CameraConnection& connection() const { return *connection_; }
    QSize previewSize() const;
    QSize effectiveSize() const;
    QPoint quickFrameTopLeft() const;
    void moveQuickFrameTo(QPoint topLeft);
    // The frame's part of the preview picture, exactly the output size.
    QImage quickFrameShot() const;
    const QImage& previewImage() const;

    // The controls, for the wiring and for tests.
    QGroupBox* groupBox() const { return groupBox_; }
    PreviewWidget* preview() const { return preview_; }
    QLabel* failureLabel() const { return label1_; }
    QLabel* helpLabel() const { return label2_; }
    QPushButton* deviceButton() const { return deviceButton_; }
    QPushButton* formatButton() const { return formatButton_; }
    QPushButton* quickSettingsButton() const { return quickSettingsButton_; }
    QPushButton* shootButton() const { return shootButton_; }
    QCheckBox* quickBox() const { return quickBox_; }
    QWidget* capturePanel() const;
    QLabel* bar(int index) const; // top, bottom, left, right
    QPushButton* moveButton(FrameDirection direction) const;
    QTimer* moveTimer() const;
    const QuickFrameMover& mover() const;

    static QString shootCaption() { return QStringLiteral("拍 照"); }
    static QString retryCaption() { return QStringLiteral("重 试"); }
    static QString connectingText() { return QStringLiteral("正在连接摄像头…"); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void placeControls(const camerasizing::CameraLayout& layout);
    void ratioChanged(bool firstShape);
    void centreQuickFrame();
    void showConnectingState();
    void showConnectedState();
    void showFailedState();
    void showAfterConnecting(bool connected);

    CameraWindowHooks hooks_;
    CameraConnection* connection_ = nullptr;
    std::unique_ptr<CameraWindowSizer> sizer_;
    bool initialising_ = false;

    QGroupBox* groupBox_ = nullptr;
    PreviewWidget* preview_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QPushButton* deviceButton_ = nullptr;
    QPushButton* formatButton_ = nullptr;
    QPushButton* quickSettingsButton_ = nullptr;
    QPushButton* shootButton_ = nullptr;
    QCheckBox* quickBox_ = nullptr;
    QuickFrameOverlay* quickFrame_ = nullptr; // the panel, the bars and the move buttons
};

} // namespace portiqa
