#pragma once

// Owns the photo workspace and its helpers for the main window, and turns the window's
// commands (toolbar, menu, keys, drops, clipboard, resize) into calls on them. The main window
// creates one, embeds pictureArea(), hands over its scroll bars and frame-move buttons, and
// calls applyLayout() from its resize handling.

#include "core/dialogs/Dialogs.h"
#include "core/workspace/FrameMover.h"
#include "core/workspace/MainWindowLayout.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PictureSources.h"

#include <QList>
#include <QObject>
#include <QUrl>

class QAbstractButton;
class QScrollBar;
class QWidget;

namespace portiqa {

class FrameMoveButtons;
class PictureAreaWidget;
class WorkspaceScrollBars;

class WorkspaceController : public QObject {
    Q_OBJECT
public:
    // The picture area (可视画板) is created as a child of `pictureAreaParent`.
    WorkspaceController(Dialogs& dialogs, QWidget* pictureAreaParent, QObject* parent = nullptr);
    ~WorkspaceController() override;

    PhotoWorkspace& workspace() { return workspace_; }
    PictureSources& sources() { return sources_; }
    FrameMover& frameMover() { return mover_; }
    PictureAreaWidget* pictureArea() const { return pictureArea_; }

    // The window's scroll bars (横向滚动条, 纵向滚动条) and move buttons.
    void attachScrollBars(QScrollBar* horizontal, QScrollBar* vertical);
    void attachMoveButton(QAbstractButton* button, FrameDirection direction);

    // Lays out the picture area and the scroll bars for a client area of `clientSize`,
    // centres the frame, redraws and focuses the picture area. Returns the whole layout so
    // the window can place its settings group and status panel.
    MainWindowLayout applyLayout(QSize clientSize);

    // Commands.
    bool openPicture();                 // toolbar 打开 / menu 文件 → 打开
    bool openFile(const QString& path); // command line, batch navigation
    void zoomIn();                      // toolbar 放大
    void zoomOut();                     // toolbar 缩小
    void turn(bool clockwise);          // toolbar 顺转 / 逆转
    void pasteFromClipboard();          // Ctrl+V
    void copyToClipboard();             // Ctrl+C
    void dropUrls(const QList<QUrl>& urls);
    void setFrameSize(QSize size);
    void setFrameColour(const QColor& colour);

    QImage captureFramedImage() const { return workspace_.captureFramedImage(); }

private:
    void focusPictureArea();

    Dialogs& dialogs_;
    PhotoWorkspace workspace_;
    PictureSources sources_;
    FrameMover mover_;
    PictureAreaWidget* pictureArea_;
    WorkspaceScrollBars* scrollBars_ = nullptr;
    FrameMoveButtons* moveButtons_ = nullptr;
    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
};

} // namespace portiqa
