#pragma once

// Looks for faces in the picture on show, off the GUI thread: a reduced copy (about 640 px on
// the long side, taken from the picture's pyramid) goes to the detector on a worker, and the
// faces come back in the full picture's coordinates by signal, on the thread that owns the
// finder. A new search replaces the one before it: its result is dropped, and when it has not
// started yet it never runs.
//
// The detector must outlive the finder; the destructor waits for a search in progress.

#include "core/face/DetectedFace.h"
#include "core/face/FaceDetector.h"
#include "core/face/FaceSearch.h"
#include "core/workspace/PicturePyramid.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QSize>

#include <atomic>
#include <memory>

namespace portiqa {

class FaceFinder : public QObject {
    Q_OBJECT
public:
    static constexpr int ReducedLongSide = 640;

    explicit FaceFinder(const FaceDetector& detector, QObject* parent = nullptr);
    ~FaceFinder() override;

    // Starts a search on `picture`, whose full size is `fullSize` (a preview's pyramid is
    // smaller than the picture it stands for). Returns the request's number.
    quint64 find(PicturePyramidPtr picture, QSize fullSize);
    // Drops the search in progress, if any.
    void cancel();
    bool searching() const { return running_ != 0; }

    // The same search, run here and now.
    static DetectedFaces findNow(const FaceDetector& detector, const PicturePyramid& picture,
                                 QSize fullSize);
    // That search as a function to hand over; `detector` must outlive it.
    static FaceSearch searchWith(const FaceDetector& detector);
    // The picture reduced to at most `longSide` pixels on its long side, from the pyramid
    // level just above that size.
    static QImage reducedCopy(const PicturePyramid& picture, int longSide);

signals:
    void facesFound(quint64 request, const portiqa::DetectedFaces& faces);

private:
    const FaceDetector& detector_;
    std::shared_ptr<std::atomic<quint64>> wanted_;
    quint64 next_ = 0;
    quint64 running_ = 0;
    std::unique_ptr<QFutureWatcher<DetectedFaces>> watcher_;
    QList<QFuture<DetectedFaces>> retired_; // replaced searches still running
};

} // namespace portiqa
