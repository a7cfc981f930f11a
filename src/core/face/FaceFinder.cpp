#include "core/face/FaceFinder.h"

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace portiqa {

FaceFinder::FaceFinder(const FaceDetector& detector, QObject* parent)
    : QObject(parent), detector_(detector), wanted_(std::make_shared<std::atomic<quint64>>(0)) {}

FaceFinder::~FaceFinder() {
    cancel();
    for (QFuture<DetectedFaces>& future : retired_) {
        future.waitForFinished(); // the workers use the detector
    }
}

QImage FaceFinder::reducedCopy(const PicturePyramid& picture, int longSide) {
    int level = 0;
    for (int i = 1; i < picture.levelCount(); ++i) {
        const QSize size = picture.level(i).size();
        if (std::max(size.width(), size.height()) < longSide) {
            break;
        }
        level = i;
    }
    const QImage& source = picture.level(level);
    if (std::max(source.width(), source.height()) <= longSide) {
        return source;
    }
    return source.scaled(longSide, longSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

FaceSearch FaceFinder::searchWith(const FaceDetector& detector) {
    const FaceDetector* used = &detector;
    return [used](const PicturePyramid& picture, QSize fullSize) {
        return findNow(*used, picture, fullSize);
    };
}

DetectedFaces FaceFinder::findNow(const FaceDetector& detector, const PicturePyramid& picture,
                                  QSize fullSize) {
    const QImage reduced = reducedCopy(picture, ReducedLongSide);
    DetectedFaces faces = detector.detect(reduced);
    if (reduced.isNull() || fullSize.isEmpty()) {
        return faces;
    }
    const double sx = double(fullSize.width()) / reduced.width();
    const double sy = double(fullSize.height()) / reduced.height();
    for (DetectedFace& face : faces) {
        face = face.scaled(sx, sy);
    }
    return faces;
}

quint64 FaceFinder::find(PicturePyramidPtr picture, QSize fullSize) {
    cancel();
    const quint64 request = ++next_;
    wanted_->store(request);
    if (!picture) {
        return request;
    }
    running_ = request;
    watcher_ = std::make_unique<QFutureWatcher<DetectedFaces>>();
    connect(watcher_.get(), &QFutureWatcher<DetectedFaces>::finished, this, [this, request] {
        const DetectedFaces faces = watcher_->result();
        running_ = 0;
        if (wanted_->load() == request) {
            emit facesFound(request, faces);
        }
    });
    const FaceDetector* detector = &detector_;
    auto wanted = wanted_;
    watcher_->setFuture(QtConcurrent::run([detector, wanted, request, picture, fullSize] {
        if (wanted->load() != request) {
            return DetectedFaces(); // replaced before it started
        }
        return findNow(*detector, *picture, fullSize);
    }));
    return request;
}

void FaceFinder::cancel() {
    wanted_->store(0);
    if (watcher_) {
        // A search already running finishes on its worker; nobody waits for it here.
        watcher_->disconnect(this);
        retired_.append(watcher_->future());
        watcher_.reset();
    }
    retired_.erase(std::remove_if(retired_.begin(), retired_.end(),
                                  [](const QFuture<DetectedFaces>& f) { return f.isFinished(); }),
                   retired_.end());
    running_ = 0;
}

} // namespace portiqa
