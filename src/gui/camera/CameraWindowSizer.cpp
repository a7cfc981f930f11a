#include "gui/camera/CameraWindowSizer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace portiqa {

namespace cs = camerasizing;

CameraWindowSizer::CameraWindowSizer(QWidget& window,
                                     std::function<void(const cs::CameraLayout&)> placeControls)
    : window_(window), placeControls_(std::move(placeControls)) {}

QSize CameraWindowSizer::effectiveSize() const {
    return window_.size() + QSize(cs::kDesignFrameWidth, cs::kDesignFrameHeight);
}

void CameraWindowSizer::sizeForOpening(QSize output, double aspect) {
    apply(cs::initialPreview(output, aspect));
    keepOnScreen();
}

void CameraWindowSizer::sizeForOpening(QSize output, double aspect, QPoint home) {
    apply(cs::initialPreview(output, aspect));
    window_.move(home);
    keepOnScreen();
}

void CameraWindowSizer::relayout(double aspect) {
    apply(cs::relayoutPreview(effectiveSize(), lastWindow_, aspect));
}

void CameraWindowSizer::formatChanged(double aspect) {
    relayout(aspect);
    keepOnScreen();
}

void CameraWindowSizer::outputEdited(bool widthEdit, QSize output, double aspect) {
    apply(cs::previewAfterOutputEdit(widthEdit, output, lastWindow_, aspect));
    keepOnScreen();
}

void CameraWindowSizer::apply(QSize preview) {
    const cs::CameraLayout layout = cs::cameraLayout(preview);
    placeControls_(layout);
    lastWindow_ = cs::windowSizeFor(preview);
    appliedClient_ = layout.client;
    applying_ = true;
    window_.resize(layout.client);
    applying_ = false;
}

void CameraWindowSizer::keepOnScreen() {
    // The window manager's frame is known once the window is shown; before, the design frame
    // stands for it.
    QSize outer = window_.frameGeometry().size();
    if (!window_.isVisible() || outer == window_.size()) {
        outer = effectiveSize();
    }
    QScreen* screen = QGuiApplication::screenAt(window_.pos());
    if (screen == nullptr) {
        QWidget* parent = window_.parentWidget();
        screen = parent != nullptr ? parent->screen() : window_.screen();
    }
    if (screen != nullptr) {
        window_.move(cs::placedInside(QRect(window_.pos(), outer), screen->availableGeometry()));
    }
}

} // namespace portiqa
