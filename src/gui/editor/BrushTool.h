#pragma once

// The brush on the workspace's composition: a press leaves a disc, moves with the button held
// draw stroke segments, and a move without it shows the outline on the view only. The stroke
// becomes part of the picture when it ends, through the editor's commit (handed in).
//
// GUI thread only.

#include <QColor>
#include <QPoint>

#include <functional>

namespace portiqa {

class PhotoWorkspace;

class BrushTool {
public:
    BrushTool(PhotoWorkspace& workspace, std::function<void()> waitForPicture,
              std::function<void()> commitEdits);

    bool held() const { return held_; }

    void press(QPoint point, int width, const QColor& colour);
    void moveHeld(QPoint point, int width, const QColor& colour);
    void hover(QPoint point, int width, const QColor& colour);
    // Ends a held stroke and commits it; nothing when none is held.
    void finish();
    // Forgets a held stroke without committing (the tool was switched off mid-stroke by a
    // command that commits on its own).
    void release() { held_ = false; }

private:
    PhotoWorkspace& workspace_;
    std::function<void()> waitForPicture_;
    std::function<void()> commitEdits_;
    bool held_ = false;
    QPoint lastPoint_;
};

} // namespace portiqa
