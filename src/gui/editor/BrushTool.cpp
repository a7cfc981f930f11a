#include "gui/editor/BrushTool.h"

#include "core/editor/BrushRaster.h"
#include "core/workspace/PhotoWorkspace.h"

namespace portiqa {

BrushTool::BrushTool(PhotoWorkspace& workspace, std::function<void()> waitForPicture,
                     std::function<void()> commitEdits)
    : workspace_(workspace), waitForPicture_(std::move(waitForPicture)),
      commitEdits_(std::move(commitEdits)) {}

void BrushTool::press(QPoint point, int width, const QColor& colour) {
    // A preview still on show would be replaced under the stroke: take the full picture first.
    waitForPicture_();
    held_ = true;
    BrushRaster::paintDisc(workspace_.composition(), point, width, colour.rgb());
    lastPoint_ = point;
    workspace_.recomposeView();
}

void BrushTool::moveHeld(QPoint point, int width, const QColor& colour) {
    BrushRaster::paintStroke(workspace_.composition(), lastPoint_, point, width, colour.rgb());
    lastPoint_ = point;
    workspace_.recomposeView();
}

void BrushTool::hover(QPoint point, int width, const QColor& colour) {
    if (width == 1) {
        workspace_.recomposeView();
        return;
    }
    const QRgb rgb = colour.rgb();
    workspace_.recomposeView(
        [point, width, rgb](QImage& view) { BrushRaster::paintOutline(view, point, width, rgb); });
}

void BrushTool::finish() {
    if (held_) {
        held_ = false;
        commitEdits_();
    }
}

} // namespace portiqa
