#pragma once

// Owns the photo workspace and its helpers for the main window, and turns the window's
// commands (toolbar, menu, keys, drops, clipboard, resize) into calls on them.
//
// The window keeps its own picture-area control (可视画板, the host); the controller fills it
// with a PictureAreaWidget of the same size, makes it the host's focus proxy and keeps the
// hidden capture panel (截图画板) under the frame. The window hands over its scroll bars and
// frame-move buttons and calls layoutMainWindow() whenever its client area changes size.

#include "core/app/MainWindowLayout.h"
#include "core/dialogs/Dialogs.h"
#include "core/workspace/FrameMover.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PictureSources.h"
#include "core/workspace/WorkspaceLoader.h"

#include <QList>
#include <QObject>

#include <functional>
#include <QPointer>
#include <QUrl>

class QAbstractButton;
class QScrollBar;
class QTimer;
class QWidget;

namespace portiqa {

class FrameMoveButtons;
class PictureAreaWidget;
class WorkspaceScrollBars;

class WorkspaceController : public QObject {
    Q_OBJECT
public:
    // `pictureAreaHost` is the window's picture-area control; it must outlive the controller.
    WorkspaceController(Dialogs& dialogs, QWidget* pictureAreaHost, QObject* parent = nullptr);
    ~WorkspaceController() override;

    PhotoWorkspace& workspace() { return workspace_; }
    PictureSources& sources() { return sources_; }
    FrameMover& frameMover() { return mover_; }
    // The one owner of what is loading and what a failed load restores; every picture
    // reaches the workspace through it.
    WorkspaceLoader& loader() { return loader_; }
    QWidget* pictureAreaHost() const { return host_; }
    PictureAreaWidget* pictureArea() const;

    // The window's scroll bars (横向滚动条, 纵向滚动条), the four move buttons with the
    // window's repeat timer (截图时钟; null: the controller keeps its own), and the hidden
    // capture panel that follows the frame.
    void attachScrollBars(QScrollBar* horizontal, QScrollBar* vertical);
    void attachMoveButtons(QAbstractButton* up, QAbstractButton* down, QAbstractButton* left,
                           QAbstractButton* right, QTimer* repeatTimer = nullptr);
    void attachCapturePanel(QWidget* capturePanel);
    // Files dropped anywhere on `widget` are loaded like drops on the picture area.
    void acceptDropsOn(QWidget* widget);

    // Lays out the picture area and the scroll bars for the window's effective size (client
    // size + 8 x 54), centres the frame, redraws and focuses the picture area. Returns the
    // whole layout so the window can place its settings group.
    MainWindowLayout layoutMainWindow(int effectiveWidth, int effectiveHeight);

    // Commands. Files decode off the GUI thread: a scaled preview shows first, then the full
    // picture; a file that fails is told and the previous full picture comes back. The focus
    // goes to the picture area when the command returns, never when a load finishes later.
    bool openPicture();                 // toolbar 打开 / menu 文件 → 打开
    bool openFile(const QString& path); // command line, batch navigation; starts the load
    // Blocks until the picture being loaded is on show (or has failed). Everything that
    // works on the full picture calls it first: capture, copy, turn, and the editor's
    // commit must too.
    void waitForPicture();
    // True while the picture last asked for has not appeared yet (neither its preview nor
    // the picture itself) and has not failed.
    bool firstViewPending() const { return loader_.firstViewPending(); }
    void zoomIn();             // toolbar 放大
    void zoomOut();            // toolbar 缩小
    void turn(bool clockwise); // toolbar 顺转 / 逆转
    void pasteFromClipboard(); // Ctrl+V
    void copyToClipboard();    // Ctrl+C
    void dropUrls(const QList<QUrl>& urls);
    // A camera photo becomes the picture (replacing whatever was still loading); the scroll
    // fractions keep their values.
    void showCameraPhoto(const QImage& photo);
    void setFrameSize(QSize size);
    void setFrameColour(const QColor& colour);

    // The framed block of the full picture as shown (waits for a load in progress).
    QImage captureFramedImage();
    // Runs before every capture, once the full picture is there (the background change
    // finishes its work on the frame).
    void setBeforeCapture(std::function<void()> hook) { beforeCapture_ = std::move(hook); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> beforeCapture_;
    void focusPictureArea();

    Dialogs& dialogs_;
    PhotoWorkspace workspace_;
    PictureSources sources_;
    FrameMover mover_;
    WorkspaceLoader loader_;
    QWidget* host_ = nullptr;
    QPointer<PictureAreaWidget> pictureArea_; // owned by the host; removed with us
    WorkspaceScrollBars* scrollBars_ = nullptr;
    FrameMoveButtons* moveButtons_ = nullptr;
    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
};

} // namespace portiqa
