#pragma once

// The camera window's size rules. The preview is sized from the output size (with a 30-pixel
// margin, so an output-sized frame fits inside) and the camera's height-to-width ratio; the
// window is the preview plus a fixed border of controls, and every control follows from the
// preview's size. Sizes here are the window's effective sizes (client size plus the design
// frame), so the numbers are the same on every window manager.
//
// Every value is truncated toward zero, as the program's number rules say.

#include <QRect>
#include <QSize>

namespace portiqa::camerasizing {

// What the window takes beside and below the preview.
inline constexpr int kExtraWidth = 163;
inline constexpr int kExtraHeight = 90;
// The design preview; a smaller output never makes the preview smaller than this.
inline constexpr int kMinPreviewWidth = 412;
inline constexpr int kMinPreviewHeight = 309;
inline constexpr int kOutputMargin = 30;
// The camera's ratio until a frame has been measured.
inline constexpr double kDefaultAspect = 0.75;
// The frame of a plain captioned window the layout was designed with: client size + this.
inline constexpr int kDesignFrameWidth = 8;
inline constexpr int kDesignFrameHeight = 34;

// The preview chosen when the window opens (and after an output edit that fits the preview):
// 160 x 210 at 0.75 gives 412 x 309; 600 x 400 gives 630 x 472.
QSize initialPreview(QSize output, double aspect);

// The window's effective size around a preview, and the preview inside an effective size.
QSize windowSizeFor(QSize preview);

// The preview after the operator (or the program) resized the window to `window`: the side
// that changed more decides and the other follows from the aspect. `last` is the size the
// rules last set. Never below 1 x 1.
QSize relayoutPreview(QSize window, QSize last, double aspect);

// The preview after the width edit (`widthEdit`) or the height edit took `output` while the
// window has the effective size `window` (also the last size the rules set): a side that no
// longer fits grows the preview, otherwise the opening rule applies; then the window is set
// to the new width and to the new height in turn, each change running relayoutPreview().
QSize previewAfterOutputEdit(bool widthEdit, QSize output, QSize window, double aspect);

// Where a window whose outer rectangle (frame included) is `window` goes so that it lies inside
// `available`, the screen less its panels: moved as little as possible, so a window that fits
// stays where it is. A window larger than the area starts at the area's left or top edge, so
// its title bar and top controls stay reachable.
QPoint placedInside(QRect window, QRect available);

// Where the controls go for a preview size, in client coordinates (the group box's children
// in the group box's coordinates).
struct CameraLayout {
    QSize client;
    QRect groupBox;
    QRect preview; // in the group box
    QRect deviceButton;
    QRect formatButton;
    QRect quickSettingsButton;
    QRect shootButton;
    QRect quickCheckBox;
    QRect moveUp;
    QRect moveDown;
    QRect moveLeft;
    QRect moveRight;
};
CameraLayout cameraLayout(QSize preview);

// The preview's place in the group box.
inline constexpr int kPreviewLeft = 10;
inline constexpr int kPreviewTop = 16;

} // namespace portiqa::camerasizing
