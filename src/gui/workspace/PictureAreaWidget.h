#pragma once

// The picture area (可视画板): paints the workspace's view and hands the pointer, wheel, keys
// and file drops to the workspace. It keeps no pixels of its own.
//
// Paste, copy and drops need the clipboard, the file reader and the dialogs, so they leave as
// signals for the controller.

#include <QList>
#include <QUrl>
#include <QWidget>

#include <functional>

namespace portiqa {

class PhotoWorkspace;

class PictureAreaWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureAreaWidget(PhotoWorkspace& workspace, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // While one of the editor's tools is active it takes the left button and the moves: the
    // hook returns true for an event it handled, and the frame is then left alone.
    using PointerHook = std::function<bool(QMouseEvent*)>;
    void setPointerHook(PointerHook hook) { pointerHook_ = std::move(hook); }

signals:
    void pasteRequested();
    void copyRequested();
    void filesDropped(const QList<QUrl>& urls);
    // The right button went down (the editor drops its tools on it).
    void rightButtonPressed();
    // The pointer moved over the area (for the status hint).
    void hovered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateCursor(bool overFrame);

    PhotoWorkspace& workspace_;
    PointerHook pointerHook_;
    int wheelRemainder_ = 0; // high-resolution wheels send parts of a notch
};

} // namespace portiqa
