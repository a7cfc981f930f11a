#include "core/workspace/PhotoWorkspace.h"

#include "core/workspace/AreaResampler.h"
#include "core/workspace/QuarterTurn.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace portiqa {

PhotoWorkspace::PhotoWorkspace(QObject* parent) : QObject(parent) {
    clearSurfaces();
    frame_.moveTo(QPoint(area_.width() / 2 - frame_.size().width() / 2,
                         area_.height() / 2 - frame_.size().height() / 2));
}

QImage PhotoWorkspace::picture() const {
    return picture_ ? picture_->base() : QImage();
}

bool PhotoWorkspace::showNewPicture(const QImage& picture, bool resetScrollFractions) {
    return showNewPicture(PicturePyramid::build(picture), resetScrollFractions);
}

bool PhotoWorkspace::showNewPicture(PicturePyramidPtr picture, bool resetScrollFractions,
                                    QSize fullSize) {
    if (!picture) {
        return false;
    }
    pictureSize_ = fullSize.isValid() && !fullSize.isEmpty() ? fullSize : picture->size();
    preview_ = pictureSize_ != picture->size();
    picture_ = std::move(picture);
    pictureLoaded_ = true;
    if (resetScrollFractions) {
        fractionX_ = 0.5;
        fractionY_ = 0.5;
    }
    zoom_ = visibleFitZoom();
    horizontal_ = AxisLayout();
    vertical_ = AxisLayout();
    ++generation_;
    redrawWorkspace();
    emit newPictureShown();
    return true;
}

bool PhotoWorkspace::upgradePicture(PicturePyramidPtr fullPicture) {
    if (!fullPicture) {
        return false;
    }
    if (!picture_) {
        return showNewPicture(std::move(fullPicture));
    }
    pictureSize_ = fullPicture->size();
    preview_ = false;
    picture_ = std::move(fullPicture);
    redrawWorkspace();
    return true;
}

PhotoWorkspace::PictureState PhotoWorkspace::pictureState() const {
    return {picture_, pictureSize_, preview_, pictureLoaded_, zoom_, fractionX_, fractionY_};
}

void PhotoWorkspace::restorePictureState(const PictureState& state) {
    ++generation_;
    picture_ = state.picture;
    pictureSize_ = state.pictureSize;
    preview_ = state.preview;
    pictureLoaded_ = state.loaded && picture_;
    zoom_ = state.zoom;
    fractionX_ = state.fractionX;
    fractionY_ = state.fractionY;
    if (pictureLoaded_) {
        redrawWorkspace();
        return;
    }
    horizontal_ = AxisLayout();
    vertical_ = AxisLayout();
    zoomed_ = QSize();
    clearSurfaces();
    emit scrollBarsChanged();
    emit viewChanged();
}

void PhotoWorkspace::dropPicture() {
    PictureState none;
    none.zoom = zoom_;
    none.fractionX = fractionX_;
    none.fractionY = fractionY_;
    restorePictureState(none);
}

bool PhotoWorkspace::zoomFits(double zoom) const {
    const int w = WorkspaceGeometry::zoomedSide(pictureSize_.width(), zoom);
    const int h = WorkspaceGeometry::zoomedSide(pictureSize_.height(), zoom);
    return w >= 1 && h >= 1 && w <= MaxZoomedSide && h <= MaxZoomedSide;
}

bool PhotoWorkspace::zoomApproachesBounds(double zoom) const {
    if (!(zoom > 0)) {
        return false;
    }
    const int shortSide = std::min(pictureSize_.width(), pictureSize_.height());
    const int longSide = std::max(pictureSize_.width(), pictureSize_.height());
    const bool tooSmall = WorkspaceGeometry::zoomedSide(shortSide, zoom_) < 1;
    const bool tooLarge = WorkspaceGeometry::zoomedSide(longSide, zoom_) > MaxZoomedSide;
    return (tooSmall && zoom > zoom_ &&
            WorkspaceGeometry::zoomedSide(longSide, zoom) <= std::max(MaxZoomedSide, longSide)) ||
           (tooLarge && zoom < zoom_);
}

double PhotoWorkspace::visibleFitZoom() const {
    // A picture far wider than high fits to less than one row; raise the zoom to the
    // smallest that shows one, as long as that stays within the bounds.
    double zoom = WorkspaceGeometry::fitZoom(pictureSize_, area_);
    const int shortSide = std::min(pictureSize_.width(), pictureSize_.height());
    if (shortSide > 0 && WorkspaceGeometry::zoomedSide(shortSide, zoom) < 1) {
        double raised = 1.0 / shortSide;
        while (WorkspaceGeometry::zoomedSide(shortSide, raised) < 1) {
            raised = std::nextafter(raised, 2.0);
        }
        if (zoomFits(raised)) {
            zoom = raised;
        }
    }
    return zoom;
}

bool PhotoWorkspace::zoomBy(double factor) {
    return setZoom(zoom_ * factor);
}

bool PhotoWorkspace::setZoom(double zoom) {
    buttonHeld_ = false;
    // Outside the bounds only a step back toward them is taken, so a view that starts out
    // of bounds (a one-pixel-high strip fitted to zero rows) can always be zoomed back.
    if (pictureLoaded_ && !zoomFits(zoom) && !zoomApproachesBounds(zoom)) {
        return false;
    }
    zoom_ = zoom;
    redrawWorkspace();
    return true;
}

bool PhotoWorkspace::showFraming(double zoom, double fractionX, double fractionY,
                                 QPoint frameTopLeft) {
    if (!pictureLoaded_ || !zoomFits(zoom)) {
        return false;
    }
    buttonHeld_ = false;
    zoom_ = zoom;
    fractionX_ = fractionX;
    fractionY_ = fractionY;
    frame_.moveTo(frameTopLeft);
    placeCapturePanel();
    redrawWorkspace();
    return true;
}

bool PhotoWorkspace::zoomIn() {
    if (!pictureLoaded_) {
        return false;
    }
    commitPendingText();
    return zoomBy(ZoomInFactor);
}

bool PhotoWorkspace::zoomOut() {
    if (!pictureLoaded_) {
        return false;
    }
    commitPendingText();
    return zoomBy(ZoomOutFactor);
}

bool PhotoWorkspace::zoomByWheel(int notches) {
    if (!pictureLoaded_) {
        return false;
    }
    return zoomBy(1.0 - 0.02 * notches);
}

QPoint PhotoWorkspace::scrollPosition() const {
    return {horizontal_.scrolls ? horizontal_.position : 0,
            vertical_.scrolls ? vertical_.position : 0};
}

void PhotoWorkspace::setAreaSize(QSize area) {
    area_ = area.expandedTo(QSize(0, 0));
    clearSurfaces();
    if (pictureLoaded_) {
        redrawWorkspace();
    } else {
        emit viewChanged();
    }
}

void PhotoWorkspace::clearSurfaces() {
    composition_ = QImage(area_, QImage::Format_RGB32);
    composition_.fill(Qt::white);
    view_ = composition_.copy();
}

void PhotoWorkspace::clearView() {
    clearSurfaces();
    emit viewChanged();
}

void PhotoWorkspace::redrawWorkspace() {
    if (!pictureLoaded_ || !picture_) {
        return;
    }
    zoomed_ = QSize(WorkspaceGeometry::zoomedSide(pictureSize_.width(), zoom_),
                    WorkspaceGeometry::zoomedSide(pictureSize_.height(), zoom_));
    horizontal_ = WorkspaceGeometry::layoutAxis(area_.width(), zoomed_.width(), fractionX_);
    vertical_ = WorkspaceGeometry::layoutAxis(area_.height(), zoomed_.height(), fractionY_);
    emit scrollBarsChanged();
    compose();
    recomposeView();
}

void PhotoWorkspace::compose() {
    if (composition_.size() != area_) {
        composition_ = QImage(area_, QImage::Format_RGB32);
    }
    composition_.fill(Qt::white);
    const QPoint scroll = scrollPosition();
    AreaResampler::drawRegion(*picture_, zoomed_, QRect(scroll, visibleSize()), composition_,
                              offset());
}

void PhotoWorkspace::recomposeView() {
    recomposeView({});
}

void PhotoWorkspace::recomposeView(const std::function<void(QImage&)>& overlay) {
    if (view_.size() != composition_.size() || view_.format() != composition_.format()) {
        view_ = QImage(composition_.size(), composition_.format());
    }
    if (!view_.isNull()) {
        std::memcpy(view_.bits(), composition_.constBits(),
                    static_cast<size_t>(composition_.sizeInBytes()));
    }
    frame_.drawFrame(view_);
    if (overlay) {
        overlay(view_);
    }
    emit viewChanged();
}

void PhotoWorkspace::applyScroll(int horizontalPosition, int verticalPosition) {
    if (!pictureLoaded_) {
        return;
    }
    commitPendingText();
    if (horizontal_.scrolls) {
        horizontal_.position = std::clamp(horizontalPosition, 1, horizontal_.maximum);
        fractionX_ = static_cast<double>(horizontal_.position) / horizontal_.maximum;
    }
    if (vertical_.scrolls) {
        vertical_.position = std::clamp(verticalPosition, 1, vertical_.maximum);
        fractionY_ = static_cast<double>(vertical_.position) / vertical_.maximum;
    }
    compose();
    recomposeView();
}

bool PhotoWorkspace::commitEdits() {
    if (!pictureLoaded_ || !picture_ || preview_) {
        return false;
    }
    if (static_cast<qint64>(zoomed_.width()) * zoomed_.height() > MaxCommitPixels) {
        return false;
    }
    QImage surface = AreaResampler::materialise(*picture_, zoomed_);
    if (surface.isNull()) {
        return false;
    }
    {
        QPainter painter(&surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(scrollPosition(), composition_, QRect(offset(), visibleSize()));
    }
    PicturePyramidPtr committed = PicturePyramid::build(surface);
    if (!committed) {
        return false;
    }
    picture_ = std::move(committed);
    ++generation_;
    pictureSize_ = picture_->size();
    preview_ = false;
    zoom_ = 1.0;
    redrawWorkspace();
    return true;
}

bool PhotoWorkspace::turnQuarter(bool clockwise) {
    if (!pictureLoaded_ || !picture_ || preview_) {
        return false;
    }
    PicturePyramidPtr turned =
        PicturePyramid::build(QuarterTurn::turned(picture_->base(), clockwise));
    if (!turned) {
        return false;
    }
    picture_ = std::move(turned);
    ++generation_;
    pictureSize_ = pictureSize_.transposed();
    redrawWorkspace();
    emit pictureTurned();
    return true;
}

void PhotoWorkspace::setFrameSize(QSize size) {
    frame_.setSize(size);
    placeCapturePanel();
    if (pictureLoaded_) {
        recomposeView();
    }
}

void PhotoWorkspace::setFrameColour(const QColor& colour) {
    frame_.setColour(colour);
    if (pictureLoaded_) {
        commitPendingText();
        recomposeView();
    }
}

void PhotoWorkspace::moveFrameTo(QPoint topLeft) {
    frame_.moveTo(topLeft);
    placeCapturePanel();
    if (pictureLoaded_) {
        recomposeView();
    }
}

void PhotoWorkspace::placeCapturePanel() {
    emit frameMoved(frame_.rect());
}

void PhotoWorkspace::stepFrame(int dx, int dy) {
    if (!pictureLoaded_) {
        return;
    }
    frame_.moveBy(dx, dy);
    placeCapturePanel();
    recomposeView();
}

QImage PhotoWorkspace::captureFramedImage() const {
    const QSize size = frame_.size();
    if (preview_ || size.width() < 1 || size.height() < 1 ||
        static_cast<qint64>(size.width()) * size.height() > MaxCommitPixels) {
        return {};
    }
    QImage block(size, QImage::Format_RGB32);
    if (block.isNull()) {
        return block;
    }
    block.fill(Qt::white);
    QPainter painter(&block);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect source = frame_.rect().intersected(composition_.rect());
    painter.drawImage(source.topLeft() - frame_.topLeft(), composition_, source);
    return block;
}

bool PhotoWorkspace::pressPointer(QPoint point) {
    if (!pictureLoaded_) {
        return false;
    }
    overFrame_ = frame_.grabs(point);
    if (overFrame_) {
        buttonHeld_ = true;
        lastPoint_ = point;
    }
    return buttonHeld_;
}

bool PhotoWorkspace::movePointer(QPoint point) {
    if (!pictureLoaded_) {
        return false;
    }
    if (!buttonHeld_) {
        overFrame_ = frame_.grabs(point);
        return overFrame_;
    }
    if (overFrame_) {
        frame_.moveBy(point.x() - lastPoint_.x(), point.y() - lastPoint_.y());
        lastPoint_ = point;
        placeCapturePanel();
        recomposeView();
    }
    return overFrame_;
}

void PhotoWorkspace::commitPendingText() {
    if (pendingText_) {
        pendingText_();
    }
}

} // namespace portiqa
