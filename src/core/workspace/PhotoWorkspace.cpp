#include "core/workspace/PhotoWorkspace.h"

#include <QPainter>

#include "core/workspace/AreaResampler.h"
#include "core/workspace/QuarterTurn.h"

#include <algorithm>
#include <cstring>

namespace portiqa {

PhotoWorkspace::PhotoWorkspace(QObject* parent) : QObject(parent), commit_(*this) {
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
    zoom_ = ZoomLimits::visibleFit(pictureSize_, area_);
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

PictureState PhotoWorkspace::pictureState() const {
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
    emit pictureDropped();
}

bool PhotoWorkspace::zoomAllowed(double zoom) const {
    return !pictureLoaded_ || ZoomLimits::allows(pictureSize_, zoom_, zoom);
}

bool PhotoWorkspace::zoomBy(double factor) {
    return setZoom(zoom_ * factor);
}

bool PhotoWorkspace::setZoom(double zoom) {
    buttonHeld_ = false;
    if (!zoomAllowed(zoom)) {
        return false;
    }
    zoom_ = zoom;
    redrawWorkspace();
    return true;
}

bool PhotoWorkspace::showFraming(double zoom, double fractionX, double fractionY,
                                 QPoint frameTopLeft) {
    if (!pictureLoaded_ || !ZoomLimits::fits(pictureSize_, zoom)) {
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
    if (!replacement_.empty() && replacement_.standsFor(captureOwnFramedImage())) {
        QPainter painter(&view_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(frame_.topLeft(), replacement_.replaced());
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

bool PhotoWorkspace::canCommit() const {
    return commit_.canCommit();
}

qint64 PhotoWorkspace::commitStepBytes() const {
    return commit_.stepBytes();
}

bool PhotoWorkspace::commitEdits(EditStep* replaced) {
    return commit_.commit(replaced);
}

bool PhotoWorkspace::exchangeEdit(EditStep& step) {
    return commit_.exchange(step);
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
    const QImage own = captureOwnFramedImage();
    return replacement_.standsFor(own) ? replacement_.replaced() : own;
}

QImage PhotoWorkspace::captureOwnFramedImage() const {
    return preview_ ? QImage() : frame_.capture(composition_, MaxCommitPixels);
}

QRect PhotoWorkspace::framedPicturePart() const {
    if (!pictureLoaded_) {
        return {};
    }
    const QRect frame = frame_.rect();
    return QRect(offset(), visibleSize()).intersected(frame).translated(-frame.topLeft());
}

void PhotoWorkspace::setFrameReplacement(const QImage& source, const QImage& replaced) {
    replacement_.set(source, replaced);
    recomposeView();
}

void PhotoWorkspace::clearFrameReplacement() {
    if (!replacement_.empty()) {
        replacement_.clear();
        recomposeView();
    }
}

bool PhotoWorkspace::frameReplaced() const {
    return replacement_.standsFor(captureOwnFramedImage());
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
