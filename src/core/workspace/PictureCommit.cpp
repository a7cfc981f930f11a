#include "core/workspace/PictureCommit.h"

#include "core/workspace/AreaResampler.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

namespace portiqa {

bool PictureCommit::canCommit() const {
    const PhotoWorkspace& w = workspace_;
    return w.pictureLoaded_ && w.picture_ && !w.preview_ &&
           static_cast<qint64>(w.zoomed_.width()) * w.zoomed_.height() <=
               PhotoWorkspace::MaxCommitPixels;
}

qint64 PictureCommit::stepBytes() const {
    const PhotoWorkspace& w = workspace_;
    if (!w.picture_) {
        return 0;
    }
    return w.zoomed_ == w.picture_->size() ? EditStep::blockBytes(w.visibleSize())
                                           : w.picture_->bytes();
}

bool PictureCommit::commit(EditStep* replaced) {
    if (!canCommit()) {
        return false;
    }
    PhotoWorkspace& w = workspace_;
    const QRect block(w.scrollPosition(), w.visibleSize());
    const QImage drawn = w.composition_.copy(QRect(w.offset(), w.visibleSize()));
    EditStep step;
    step.state = w.pictureState();
    PictureState committed = step.state;
    committed.picture = nullptr; // nothing but the workspace may hold the picture now
    committed.zoom = 1.0;
    if (w.zoomed_ == w.picture_->size()) {
        step.state.picture = nullptr;
        if (block.isEmpty()) {
            committed.picture = w.picture_;
        } else {
            committed.picture =
                PicturePyramid::patched(w.picture_, block.topLeft(), drawn, &step.pixels);
            step.region = block;
        }
    } else {
        const quint64 generation = w.generation_;
        QFuture<PicturePyramidPtr> job = QtConcurrent::run(&PictureCommit::rebuilt, w.picture_,
                                                           w.zoomed_, drawn, block.topLeft());
        if (wait_) {
            wait_(job);
        }
        committed.picture = job.result(); // waits on, should the wait have ended early
        if (generation != w.generation_) {
            return false; // another picture came in meanwhile
        }
    }
    if (!committed.picture) {
        return false;
    }
    committed.pictureSize = committed.picture->size();
    w.restorePictureState(committed);
    if (replaced != nullptr) {
        *replaced = std::move(step);
    }
    return true;
}

bool PictureCommit::exchange(EditStep& step) {
    PhotoWorkspace& w = workspace_;
    if (!w.pictureLoaded_ || !w.picture_ || w.preview_ || step.isNull()) {
        return false;
    }
    EditStep back;
    back.state = w.pictureState();
    PictureState next = step.state;
    if (!step.wholePicture()) {
        back.state.picture = nullptr; // let go of, so the block is written in place
        next.picture =
            PicturePyramid::patched(w.picture_, step.region.topLeft(), step.pixels, &back.pixels);
        if (!next.picture) {
            return false;
        }
        back.region = step.region;
        next.pictureSize = next.picture->size();
    }
    w.restorePictureState(next);
    step = std::move(back);
    return true;
}

PicturePyramidPtr PictureCommit::rebuilt(const PicturePyramidPtr& picture, QSize zoomedSize,
                                         const QImage& block, QPoint at) {
    if (!picture) {
        return nullptr;
    }
    QImage surface = AreaResampler::materialise(*picture, zoomedSize);
    if (surface.isNull()) {
        return nullptr;
    }
    if (!block.isNull()) {
        QPainter painter(&surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(at, block);
    }
    return PicturePyramid::build(surface);
}

} // namespace portiqa
