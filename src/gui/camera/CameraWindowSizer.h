#pragma once

// The camera window's size: it applies the rules of core/camera (the opening rule, the
// operator's resize, the output edits) to the window and hands the resulting control layout to
// the window, remembers the size the rules last set so that the operator's changes can be told
// from its own, and keeps the window inside the screen whenever the program sizes it (a window
// reaching past the screen would hide 拍 照; the operator's own resizing is left alone).
//
// GUI thread only; the window outlives this object.

#include "core/camera/CameraWindowSizing.h"

#include <QPoint>
#include <QSize>

#include <functional>

class QWidget;

namespace portiqa {

class CameraWindowSizer {
public:
    // `placeControls` puts the window's controls where a layout says.
    CameraWindowSizer(QWidget& window,
                      std::function<void(const camerasizing::CameraLayout&)> placeControls);

    // The window's effective size (client plus the design frame), in which the rules count.
    QSize effectiveSize() const;

    // The opening rule; with `home`, the window is also moved there (the main window's
    // top-left + 100, 60).
    void sizeForOpening(QSize output, double aspect);
    void sizeForOpening(QSize output, double aspect, QPoint home);
    // The operator changed the window's size: the side that changed more decides.
    void relayout(double aspect);
    // The same rule after the camera took a new format (the window stays on the screen).
    void formatChanged(double aspect);
    // The main window's width edit (`widthEdit`) or height edit took `output`.
    void outputEdited(bool widthEdit, QSize output, double aspect);

    // Whether a resize to `client` is one of the rules' own (also when the window system
    // delivers it late), which must not be answered with a relayout.
    bool ownResize(QSize client) const { return applying_ || client == appliedClient_; }

private:
    void apply(QSize preview);
    void keepOnScreen();

    QWidget& window_;
    std::function<void(const camerasizing::CameraLayout&)> placeControls_;
    bool applying_ = false;
    QSize lastWindow_;    // the effective size the rules last set
    QSize appliedClient_; // the client size the rules last asked for
};

} // namespace portiqa
