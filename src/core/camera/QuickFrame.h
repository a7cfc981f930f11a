#pragma once

// The quick-shoot frame over the camera preview: a capture panel of exactly the output size
// and four 9-pixel bars around it, in the coordinates of the camera window's group box (which
// holds the preview at 10, 16). What lies inside the panel is what a shot writes.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace portiqa {

struct QuickFrameGeometry {
    QRect panel; // the shot's pixels; never shown
    QRect leftBar;
    QRect topBar;
    QRect bottomBar;
    QRect rightBar;
};

namespace quickframe {

inline constexpr int kBarThickness = 9;
// The drag keeps the frame's top-left at least here inside the group box.
inline constexpr int kMinDragLeft = 11;
inline constexpr int kMinDragTop = 17;

// The panel at `topLeft` with `output` as its size, and the bars around it, each one pixel
// clear of the panel. The right bar stands at L + W + 1, T - 10 and reaches down to the bottom
// bar's lower edge, so the four bars close the rectangle.
QuickFrameGeometry geometry(QPoint topLeft, QSize output);

// The frame centred on the preview: preview left + (preview width - output width) / 2, and the
// same vertically, each truncated toward zero (295 x 413 on a 640 x 480 preview at 10, 16
// gives 182, 49).
QPoint centred(QRect preview, QSize output);

// Where a drag puts the frame: `proposed` clamped to left >= 11, top >= 17, then to at most
// box width - 10 - output width - 6 and box height - 10 - output height - 2. The upper bound
// is applied last, so a frame too large for the box ends at the upper bound.
QPoint clampedDrag(QPoint proposed, QSize groupBox, QSize output);

// The frame's part of the preview picture as a picture of exactly the frame's size. `preview`
// is the image drawn at `previewRect` (group-box coordinates); parts of the frame outside it
// are `background`, the colour that shows there. A null image when the size is unusable.
QImage shot(const QImage& preview, QRect previewRect, QRect frame, const QColor& background);

} // namespace quickframe

} // namespace portiqa
